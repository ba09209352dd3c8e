#pragma once

#include "PageFrame.h"

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
class TSMSFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TSMSFrame(IPageHost& host, QWidget* parent = nullptr);

    // Fills the grid and sets its column widths; SetDefault does the same.
    void Init() override;
    void SetDefault() override;
    // Every text as it stands in the grid; an empty text the panel answers
    // with the text it keeps is listed with that text.
    void WritePage() override;

    // Text r (1..6), as the grid shows it.
    QString Text(int r) const;

    // The three buttons; they work on the grid and never talk to the panel.
    void TranslateButtonClick();
    void LoadButtonClick();
    void SaveButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void DescribeParams();
    void FillGrid();
    // Column widths from the grid's client width.
    void FrameResize();
    // Puts an edit in progress into its cell and closes the editor, so that
    // what was typed is what the page reads and a text the page puts in is
    // not overwritten when the editor closes.
    void EndCellEdit() const;
    void SetText(int r, const QString& text) const;

    QGroupBox* SMSSetGroup = nullptr;
    QTableWidget* SMSGrid = nullptr;
    TCellEditDelegate* CellDelegate = nullptr;
    QPushButton* TranslateButton = nullptr;
    QPushButton* LoadButton = nullptr;
    QPushButton* SaveButton = nullptr;
};
