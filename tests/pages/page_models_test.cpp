// The pages' models without widgets, over a scripted panel dialogue: what
// they hold as the panel gave it, and whether the user changed anything
// since the last read, write or load.
#include "page_fakes.h"
#include "pages/AlarmButtonsPage.h"
#include "pages/ChannelsPage.h"
#include "pages/CommonPage.h"
#include "pages/EngeneerNumberPage.h"
#include "pages/GPRSPage.h"
#include "pages/SMSPage.h"
#include "pages/SystemEventsPage.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

// Every write of the script's panel is taken.
void AcceptWrites(FakeExchange& exchange) {
    exchange.during = [&exchange](const QString& command) {
        if (!exchange.answers.contains(command))
            exchange.answers[command] = {QStringLiteral("OK")};
    };
}

// A page model of each kind, with a user's edit of it.
struct ModelCase {
    const char* name;
    std::function<std::unique_ptr<TPageModel>(IPageHost& host)> make;
    std::function<void(TPageModel& page)> edit;
};

template <typename T> std::unique_ptr<TPageModel> Make(IPageHost& host) {
    return std::make_unique<T>(host);
}

const ModelCase kModels[] = {
    {"common", Make<TCommonPage>,
     [](TPageModel& p) { p.EditText(*p.Field(QStringLiteral("Object")), QStringLiteral("1234")); }},
    {"system events", Make<TSystemEventsPage>,
     [](TPageModel& p) { p.EditNumber(*p.Field(QStringLiteral("Min")), 30); }},
    {"gprs", Make<TGPRSPage>, [](TPageModel& p) { static_cast<TGPRSPage&>(p).ChooseOperator(opOther); }},
    {"channels", Make<TChannelsPage>,
     [](TPageModel& p) { static_cast<TChannelsPage&>(p).SetPhone(1, QStringLiteral("+79001234567")); }},
    {"alarm buttons", Make<TAlarmButtonsPage>,
     [](TPageModel& p) { static_cast<TAlarmButtonsPage&>(p).SetLoop(2, 123); }},
    {"engineer numbers", Make<TEngeneerNumberPage>,
     [](TPageModel& p) { p.EditText(*p.Field(QStringLiteral("EPhone3")), QStringLiteral("+7903")); }},
    {"sms", Make<TSMSPage>,
     [](TPageModel& p) { p.EditText(*p.Field(QStringLiteral("SMS2")), QStringLiteral("Кнопка 2")); }},
};

// Answers every read with the value the page would write now: the panel
// then holds what the page shows.
void AnswerReadsWithWhatIsShown(FakeHost& host, TPageModel& page) {
    QStringList written;
    host.exchange.during = [&](const QString& command) {
        written.append(command);
        host.exchange.answers[command] = {QStringLiteral("OK")};
    };
    page.Write();
    host.exchange.during = {};
    for (const TPageParam& param : page.Params().Params()) {
        for (const QString& command : written) {
            if (param.Readable() && command.startsWith(param.WriteCommandName()))
                host.exchange.answers[param.Command] = Ok(command.mid(param.WriteCommandName().size()));
        }
    }
}

TEST(PageModels, KnowWhetherTheUserChangedAnythingSinceTheLastReadWriteOrLoad) {
    for (const ModelCase& c : kModels) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        const std::unique_ptr<TPageModel> page = c.make(host);
        QSignalSpy told(page.get(), &TPageModel::ChangeStateChanged);
        page->Init();
        EXPECT_FALSE(page->Changed()) << "a page as made";
        AnswerReadsWithWhatIsShown(host, *page);

        c.edit(*page);
        EXPECT_TRUE(page->Changed());
        ASSERT_EQ(told.count(), 1);
        EXPECT_TRUE(told.at(0).at(0).toBool());
        EXPECT_TRUE(page->Read().Ok());
        EXPECT_FALSE(page->Changed()) << "read";

        c.edit(*page);
        host.exchange.answers.clear(); // nothing taken
        EXPECT_FALSE(page->Write().Ok());
        EXPECT_TRUE(page->Changed()) << "a write the panel did not take";
        EXPECT_FALSE(page->Read().Ok());
        EXPECT_TRUE(page->Changed()) << "a read that failed";
        AcceptWrites(host.exchange);
        EXPECT_TRUE(page->Write().Ok());
        EXPECT_FALSE(page->Changed()) << "written";

        page->SetDefault();
        EXPECT_TRUE(page->Changed()) << "the defaults";
        page->LoadSettings(page->Settings());
        EXPECT_FALSE(page->Changed()) << "loaded";
        page->LoadSettings({});
        EXPECT_FALSE(page->Changed()) << "a file without the page's keys loads its defaults";
        c.edit(*page);
        host.connected = false;
        EXPECT_FALSE(page->Read().Ran);
        EXPECT_TRUE(page->Changed()) << "a read refused";
    }
}

TEST(CommonModel, HoldsWhatThePanelGaveAndWritesItBack) {
    FakeHost host;
    TCommonPage page(host);
    page.Init();
    host.exchange.answers[QStringLiteral("+o")] = Ok(QStringLiteral("12345"));
    host.exchange.answers[QStringLiteral("+disp")] = Ok(QStringLiteral("0a"));

    EXPECT_TRUE(page.Read().Ok());

    EXPECT_EQ(page.ObjectNumber().Text(), QStringLiteral("12345"));
    EXPECT_EQ(page.Disp().Number(), 1);
    EXPECT_EQ(page.Time().Item(), 10);
    const TPageParam* disp = page.Params().FindParam(QStringLiteral("+disp"));
    ASSERT_NE(disp, nullptr);
    EXPECT_TRUE(disp->WasRead);
    EXPECT_EQ(disp->Raw, QStringLiteral("0a")) << "exactly as the panel gave it";
    EXPECT_EQ(page.Settings(), (QStringList{"Object=12345", "Disp=1", "Time=10"}));

    host.exchange.sent.clear();
    AcceptWrites(host.exchange);
    EXPECT_TRUE(page.Write().Ok());
    EXPECT_EQ(host.exchange.Commands(), (QStringList{"+o12345", "+disp0A"}));
    EXPECT_TRUE(host.errorLists.empty());
}

TEST(CommonModel, WithoutTheTimeListTheDispatcherLinkHasNoTimeToWrite) {
    FakeHost host;
    TCommonPage page(host);
    EXPECT_FALSE(page.Time().Item()) << "no list before Init";
    page.EditNumber(page.Disp(), 1);
    AcceptWrites(host.exchange);
    const TPageResult result = page.Write();
    EXPECT_EQ(host.exchange.Commands(), QStringList{"+o0050"});
    EXPECT_EQ(result.Errors, QStringList{"Параметры диспетчерской связи"});
    page.Init();
    EXPECT_EQ(page.Time().Item(), 0);
}

TEST(CommonModel, SignalReadingIsToldAsItsLevels) {
    FakeHost host;
    TCommonPage page(host);
    QSignalSpy read(&page, &TCommonPage::SignalRead);
    host.exchange.answers[QStringLiteral("+U")] = {"OK", "1163", "OK"};
    EXPECT_TRUE(page.ReadSignal().Ok());
    ASSERT_EQ(read.count(), 1);
    EXPECT_EQ(read.at(0).at(0).value<TSignalLevels>(), (TSignalLevels{17, 99}));
    EXPECT_FALSE(page.Changed()) << "a signal reading changes no setting";

    host.connected = false;
    EXPECT_FALSE(page.ReadSignal().Ran);
    EXPECT_EQ(host.messages, QStringList{TCommonPage::SignalImpossible()});
}

TEST(SystemEventsModel, APeriodTheListsCannotShowHasNoItemAndGoesBackAsItCame) {
    FakeHost host;
    TSystemEventsPage page(host);
    host.exchange.answers[QStringLiteral("+pwlog")] = Ok(QStringLiteral("FFFF00203CFFFFFFFF"));
    ASSERT_TRUE(page.Read().Ok());
    EXPECT_EQ(page.Hours().Number(), 32);
    EXPECT_FALSE(page.Hours().Item());
    EXPECT_EQ(page.Minutes().Number(), 60);
    EXPECT_FALSE(page.Minutes().Item());
    AcceptWrites(host.exchange);
    ASSERT_TRUE(page.Write().Ok());
    EXPECT_EQ(host.exchange.sent.back().Command, QStringLiteral("+pwlogFFFF00203CFFFFFFFF"));

    // Failures come as the page's one message, and are told with it.
    host.exchange.answers.clear();
    host.exchange.during = {};
    const TPageResult read = page.Read();
    EXPECT_EQ(read.Errors, QStringList{"Системные события"});
    EXPECT_EQ(read.Message, TSystemEventsPage::ReadFailed());
    EXPECT_EQ(page.Write().Message, TSystemEventsPage::WriteFailed());
    EXPECT_EQ(host.errors, (QStringList{TSystemEventsPage::ReadFailed(), TSystemEventsPage::WriteFailed()}));
    EXPECT_TRUE(host.errorLists.empty());
}

TEST(ChannelsModel, AWriteTheUserDeclinesSendsNothingAndKeepsTheChanges) {
    FakeHost host;
    host.answerYes = false;
    TChannelsPage page(host);
    page.Init();
    page.SetPhone(1, QStringLiteral("+79001234567"));
    AcceptWrites(host.exchange);
    const TPageResult result = page.Write();
    EXPECT_FALSE(result.Ran);
    EXPECT_EQ(host.questions, QStringList{ChannelsWire::EraseQuestion});
    EXPECT_TRUE(host.exchange.sent.empty());
    EXPECT_TRUE(page.Changed()) << "nothing of them reached the panel";

    host.answerYes = true;
    EXPECT_TRUE(page.Write().Ok());
    EXPECT_EQ(host.exchange.Commands().first(), ChannelsWire::EraseCommand);
    EXPECT_FALSE(page.Changed());
}

} // namespace
