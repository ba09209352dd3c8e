#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

// The key filter of an edit box: typed characters outside the allowed set
// never reach it, and what is inserted at once (paste, drop) is taken whole
// or not at all, up to the typing limit. It guards the user's input only:
// texts a page puts into the box itself (from the panel, from a file) go in
// whole through the box's field binding, which sets them past the filter,
// so a longer number from the panel is not cut.
class TKeyFilter : public QValidator {
    Q_OBJECT
public:
    // `allowed`: the characters that pass (empty: every 8-bit character);
    // `maxTyped`: the longest text typing may make (no limit when below 1).
    static TKeyFilter* Install(QLineEdit* edit, const QString& allowed, int maxTyped);

    State validate(QString& input, int& pos) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TKeyFilter(QLineEdit* edit, QString allowed, int maxTyped);

    const QString fAllowed;
    const int fMaxTyped;
};
