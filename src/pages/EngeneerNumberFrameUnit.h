#pragma once

#include "PageFrame.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;

// The Engineer numbers page: up to five telephone numbers of service
// engineers ("+phing0" to "+phing4") and the switch that enables them in
// the panel ("+enaing"). The panel's dispatcher voice link takes incoming
// calls from these numbers.
class TEngeneerNumberFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TEngeneerNumberFrame(IPageHost& host, QWidget* parent = nullptr);

    // Number n (1..5): the edit named "Edit%d" with n; null outside 1..5.
    QLineEdit* Edit(int n) const;

private:
    void BuildControls();
    void DescribeParams();
    // Whenever the switch changes, by the user or by the page: the edits are
    // enabled exactly while it is checked.
    void EnableCheckClick(bool checked);

    QGroupBox* MainGroupBox = nullptr;
    QCheckBox* EnableCheck = nullptr;
};
