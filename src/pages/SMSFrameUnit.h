#pragma once

#include "PageFrame.h"
#include "SMSPage.h"

class QGroupBox;
class QPushButton;
class QTableWidget;
class TCellEditDelegate;

// The SMS page: the texts of the six messages the panel sends on its own
// events ("+smstext0" to "+smstext5"), edited in a grid beside their
// purposes, transliterated to Latin letters on demand (a Latin SMS holds
// more characters), and kept in an SMS text file of their own.
//
// The grid has the heading row and one row per message; rows count from 1
// as in the error list ("Текст СМС #1" is the grid's first message row).
// It shows a TSMSPage: what the user types into a cell goes into the page as
// it is typed.
class TSMSFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TSMSFrame(IPageHost& host, QWidget* parent = nullptr);

    // Fills the grid and sets its column widths; SetDefault does the same.
    void Init() override;
    void SetDefault() override;
    void WritePage() override;

    TSMSPage& Page() const { return *fPage; }
    // Text r (1..6), as the page holds it.
    QString Text(int r) const;

    // The three buttons; they work on the grid and never talk to the panel.
    void TranslateButtonClick();
    void LoadButtonClick();
    void SaveButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillGrid();
    // Column widths from the grid's client width.
    void FrameResize();
    // Puts an edit in progress into its cell and closes the editor, so that
    // what was typed is what the page reads and a text the page puts in is
    // not overwritten when the editor closes.
    void EndCellEdit() const;
    // Text r of the page into its cell.
    void ShowText(int r);
    // Text r as the user has it in the grid, into the page.
    void TakeText(int r, const QString& text);

    TSMSPage* fPage;
    // The page's texts are being put into the grid, or the grid's into the
    // page: neither side answers the other meanwhile.
    bool fShowing = false;
    bool fTaking = false;
    QGroupBox* SMSSetGroup = nullptr;
    QTableWidget* SMSGrid = nullptr;
    TCellEditDelegate* CellDelegate = nullptr;
    QPushButton* TranslateButton = nullptr;
    QPushButton* LoadButton = nullptr;
    QPushButton* SaveButton = nullptr;
};
