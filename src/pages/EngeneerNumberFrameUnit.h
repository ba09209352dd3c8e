#pragma once

#include "EngeneerNumberPage.h"
#include "PageFrame.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;

// The Engineer numbers page: up to five telephone numbers of service
// engineers ("+phing0" to "+phing4") and the switch that enables them in
// the panel ("+enaing"). The panel's dispatcher voice link takes incoming
// calls from these numbers. It shows a TEngeneerNumberPage.
class TEngeneerNumberFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TEngeneerNumberFrame(IPageHost& host, QWidget* parent = nullptr);

    TEngeneerNumberPage& Page() const { return *fPage; }

    // Number n (1..5): the edit named "Edit%d" with n; null outside 1..5.
    QLineEdit* Edit(int n) const;

private:
    void BuildControls();
    // Whenever the switch changes, by the user or by the page: the edits are
    // enabled exactly while it is checked.
    void EnableCheckClick(bool checked);

    TEngeneerNumberPage* fPage;
    QGroupBox* MainGroupBox = nullptr;
    QCheckBox* EnableCheck = nullptr;
};
