// The page base over real widgets: field bindings, the key filter, red
// marking, the operation around a read or write, the settings rules as a
// page with a quirk sees them, and a window-less host.
#include "page_fakes.h"
#include "pages/CommonFrameUnit.h"
#include "pages/FieldBindings.h"
#include "pages/KeyFilter.h"
#include "pages/PageFrame.h"
#include "pages/RedWhenInvalid.h"
#include "stream_page_host.h"
#include "widget_probes.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

// A page of three values: a four-digit code (red while not four digits),
// a choice of three and a switch. Its defaults have a quirk: they also
// count themselves.
class TTestPage : public TPageFrame {
public:
    explicit TTestPage(IPageHost& host) : TPageFrame(host, 99) {
        Code = new QLineEdit(this);
        TKeyFilter::Install(Code, QStringLiteral("0123456789"), 4);
        RedWhenInvalid(Code, [](const QString& t) { return t.size() == 4; });
        Choice = new QComboBox(this);
        Choice->addItems({"a", "b", "c"});
        Switch = new QCheckBox(this);

        TPageField& code = fParams.Text(QStringLiteral("Code"), Bind(Code), QStringLiteral("0000"));
        TPageField* choice = &fParams.Number(QStringLiteral("Choice"), Bind(Choice), 1, 0, 2);
        fParams.Number(QStringLiteral("Switch"), Bind(Switch), 0, 0, 1);
        fParams.TextParam(QStringLiteral("+code"), QStringLiteral("Код"), code);
        fParams.Param({
            .Command = QStringLiteral("+ch"),
            .ReadName = QStringLiteral("Выбор"),
            .Decode =
                [choice](const QString& v) {
                    bool ok = false;
                    const int n = v.toInt(&ok);
                    if (ok)
                        choice->SetNumber(n);
                    return ok;
                },
            .Encode = [choice]() -> std::optional<QString> { return QString::number(choice->Number()); },
        });
    }

    void SetDefault() override {
        TPageFrame::SetDefault();
        ++defaults;
    }
    // A read whose failures go to a box of its own instead of the list.
    void ReadToBox() {
        RunOperation(
            wmRead, [this](QStringList& errors) { fParams.Read(fHost.Exchange(), errors); },
            [this](const QStringList&) { fHost.ShowError(QStringLiteral("Произошла ошибка чтения.")); });
    }

    QLineEdit* Code;
    QComboBox* Choice;
    QCheckBox* Switch;
    int defaults = 0;
};

class PageFrameTest : public ::testing::Test {
protected:
    FakeHost host;
    TTestPage page{host};
    FakeExchange& ex = host.exchange;
};

TEST_F(PageFrameTest, PanelAndFileTextsPassTheKeyFilterWhole) {
    // From the panel: longer than can be typed, and not digits.
    ex.answers[QStringLiteral("+code")] = {QStringLiteral("12AB56"), QStringLiteral("OK")};
    ex.answers[QStringLiteral("+ch")] = {QStringLiteral("2"), QStringLiteral("OK")};
    page.ReadPage();
    EXPECT_EQ(page.Code->text(), QStringLiteral("12AB56"));
    EXPECT_TRUE(IsDrawnInvalid(page.Code)) << "change handlers run for a text the page sets";

    // Typing stays filtered afterwards.
    page.Code->clear();
    pressText(page.Code, QStringLiteral("1x2Ж345"));
    EXPECT_EQ(page.Code->text(), QStringLiteral("1234"));
    EXPECT_FALSE(IsDrawnInvalid(page.Code));

    page.SetSettings({"Code=ABCDEFGH", "Choice=0", "Switch=1"});
    EXPECT_EQ(page.Code->text(), QStringLiteral("ABCDEFGH"));
    EXPECT_EQ(page.Code->validator() != nullptr, true) << "the filter is back in place";
}

TEST_F(PageFrameTest, NumberBindingsKeepTheirControlsInRange) {
    // A combo box index outside the list leaves no selection.
    ex.answers[QStringLiteral("+ch")] = {QStringLiteral("7"), QStringLiteral("OK")};
    page.ReadPage();
    EXPECT_EQ(page.Choice->currentIndex(), -1);

    QSpinBox spin;
    spin.setRange(0, 99);
    Bind(&spin).SetNumber(150);
    EXPECT_EQ(spin.value(), 99);

    QCheckBox box;
    Bind(&box).SetNumber(5);
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(Bind(&box).GetNumber(), 1);

    QRadioButton orButton, andButton;
    QButtonGroup group;
    group.addButton(&orButton, 0);
    group.addButton(&andButton, 1);
    orButton.setChecked(true);
    Bind(&group).SetNumber(1);
    EXPECT_TRUE(andButton.isChecked());
    Bind(&group).SetNumber(4); // no such button: the group stays as it is
    EXPECT_EQ(Bind(&group).GetNumber(), 1);
}

TEST_F(PageFrameTest, AFileThePageCannotUseTakesThePagesOwnDefaults) {
    page.Code->setText(QStringLiteral("9999"));
    page.Switch->setChecked(true);
    page.SetSettings({"Code=1234", "Choice=x", "Switch=0"});
    EXPECT_EQ(page.defaults, 1) << "the page's SetDefault, quirks included";
    EXPECT_EQ(page.Code->text(), QStringLiteral("0000")) << "nothing of the file is taken";
    EXPECT_EQ(page.Choice->currentIndex(), 1);
    EXPECT_FALSE(page.Switch->isChecked());

    page.SetSettings({"Choice=2", "Switch=1"});
    EXPECT_EQ(page.defaults, 1);
    EXPECT_EQ(page.Code->text(), QString()) << "a missing text key empties its control";
    EXPECT_EQ(page.Choice->currentIndex(), 2);

    QStringList lines{"left over"};
    page.GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{"Code=", "Choice=2", "Switch=1"}));
}

TEST_F(PageFrameTest, AnOperationHoldsTheHostsStateAndTheMode) {
    std::vector<std::pair<TWorkMode, std::vector<TOperationState>>> seen;
    ex.during = [&](const QString&) { seen.emplace_back(page.Mode(), host.held); };
    page.SetDefault();
    ex.answers[QStringLiteral("+code0000")] = {QStringLiteral("OK")};
    page.ReadPage();
    page.WritePage();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], std::make_pair(wmRead, std::vector<TOperationState>{TOperationState::Reading}));
    EXPECT_EQ(seen[3], std::make_pair(wmWrite, std::vector<TOperationState>{TOperationState::Writing}));
    EXPECT_TRUE(host.held.empty());
    EXPECT_EQ(page.Mode(), wmNull);
    ASSERT_EQ(host.errorLists.size(), 2u);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{"Код", "Выбор"}));
    EXPECT_EQ(host.errorLists[0].Mode, wmRead);
    EXPECT_EQ(host.errorLists[1].Errors, QStringList{"Выбор"});
    EXPECT_EQ(host.errorLists[1].Mode, wmWrite);
}

TEST_F(PageFrameTest, NothingIsSentWhenTheHostRefusesTheOperation) {
    host.connected = false; // the fake host refuses every operation then
    page.ReadPage();
    page.WritePage();
    EXPECT_TRUE(ex.sent.empty());
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page.Mode(), wmNull);

    // Nor while the page's own operation waits for the panel.
    host.connected = true;
    ex.during = [&](const QString&) { page.WritePage(); };
    page.ReadPage();
    EXPECT_EQ(ex.Commands(), (QStringList{"+code", "+ch"}));
}

TEST_F(PageFrameTest, FailuresCanGoToTheirOwnReport) {
    page.ReadToBox();
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(host.errors, QStringList{"Произошла ошибка чтения."});
}

TEST(StreamHost, DrivesAPageWithoutAWindow) {
    FakeExchange ex;
    QString text;
    QTextStream out(&text);
    StreamPageHost host(ex, out);
    TCommonFrame page(host);
    page.Init();
    ex.answers[QStringLiteral("+o")] = {QStringLiteral("0123"), QStringLiteral("OK")};
    page.ReadPage();
    EXPECT_EQ(text, QStringLiteral("не прочитано: Параметры диспетчерской связи\n"));
    EXPECT_EQ(page.findChild<QLineEdit*>(QStringLiteral("ObjNumEdit"))->text(), QStringLiteral("0123"));
    text.clear();
    ex.answers[QStringLiteral("+o0123")] = {QStringLiteral("OK")};
    page.WritePage();
    EXPECT_EQ(text, QStringLiteral("не записано: Параметры диспетчерской связи\n"));
}

} // namespace
