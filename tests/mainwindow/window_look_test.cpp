// The window's own pictures: the tool's icon drawn as its artwork shows it,
// the pictures drawn ahead at build time as they are drawn now, and the
// window style's group box frame, drawn without the style's image file, to
// the pixel as the Fusion style draws it.
#include "PredrawnIcons.h"
#include "mainwindow/ActionIcons.h"
#include "mainwindow/ToolIcon.h"
#include "mainwindow/WindowStyle.h"
#include "pages/DrawnIcon.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStyleFactory>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

QImage Premultiplied(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

std::unique_ptr<QStyle> Fusion() {
    return std::unique_ptr<QStyle>(QStyleFactory::create(QStringLiteral("fusion")));
}

// The window's style over Fusion, whatever the test machine's desktop.
std::unique_ptr<TWindowStyle> OursOverFusion() {
    auto ours = std::make_unique<TWindowStyle>();
    ours->setBaseStyle(Fusion().release());
    return ours;
}

QImage Grab(QGroupBox& box) {
    return Premultiplied(box.grab().toImage());
}

} // namespace

TEST(WindowLook, TheToolIconIsItsArtwork) {
    const QImage artwork = Premultiplied(QImage(QStringLiteral(TARVIK_ICON_PNG)));
    ASSERT_EQ(artwork.size(), QSize(48, 48));
    const QImage drawn = Premultiplied(ToolIcon().pixmap(48, 48).toImage());
    ASSERT_EQ(drawn.size(), artwork.size());
    // The same shapes, in the same colours, at the same places; edges may
    // be smoothed a little differently.
    long total = 0;
    int farOff = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const QRgb a = artwork.pixel(x, y), d = drawn.pixel(x, y);
            const int diff = std::abs(qRed(a) - qRed(d)) + std::abs(qGreen(a) - qGreen(d)) +
                             std::abs(qBlue(a) - qBlue(d)) + std::abs(qAlpha(a) - qAlpha(d));
            total += diff;
            if (diff > 4 * 96)
                ++farOff;
        }
    EXPECT_LT(double(total) / (48 * 48 * 4), 6.0);
    EXPECT_LT(farOff, 20) << "pixels far from the artwork";
}

// The table the window takes its pictures from at start holds each of them,
// at each size the window shows it, as its drawing paints it today.
TEST(WindowLook, PicturesDrawnAheadAreTheDrawingsOfToday) {
    TWindowStyle style;
    const std::vector<QIcon> icons = WindowPictures(style);
    for (const QIcon& icon : icons)
        for (const int side : {16, 24, 48}) {
            SCOPED_TRACE(qPrintable(QStringLiteral("%1 at %2").arg(icon.name()).arg(side)));
            const QImage ahead = PredrawnIcon(icon.name(), side);
            ASSERT_EQ(ahead.size(), QSize(side, side));
            EXPECT_TRUE(Premultiplied(ahead) == Premultiplied(icon.pixmap(side, side).toImage()));
        }
    EXPECT_TRUE(PredrawnIcon(QStringLiteral("connect"), 20).isNull());
    EXPECT_TRUE(PredrawnIcon(QStringLiteral("no such picture"), 16).isNull());

    // Given such a table, a picture is taken from it at the sizes it has
    // and drawn at the others.
    UsePredrawnIcons([](const QString& name, int side) {
        QImage red;
        if (name == QLatin1String("connect") && side == 24) {
            red = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            red.fill(Qt::red);
        }
        return red;
    });
    EXPECT_EQ(ActionIcon(0).pixmap(24, 24).toImage().pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_NE(ActionIcon(0).pixmap(16, 16).toImage().pixel(0, 0), QColor(Qt::red).rgb());
    UsePredrawnIcons(nullptr);
}

TEST(WindowLook, GroupBoxFramesAreFusionsToThePixel) {
    const std::unique_ptr<QStyle> fusion = Fusion();
    ASSERT_NE(fusion, nullptr);
    const std::unique_ptr<TWindowStyle> ours = OursOverFusion();

    struct Case {
        const char* what;
        QString title;
        bool checkable;
        QSize size;
    };
    const Case cases[] = {
        {"titled", QStringLiteral("Уровень сигнала GSM"), false, {260, 180}},
        {"untitled", QString(), false, {200, 300}},
        {"checkable", QStringLiteral("Дозвон"), true, {300, 120}},
        {"small", QStringLiteral("A"), false, {40, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QImage images[2];
        QStyle* styles[2] = {fusion.get(), ours.get()};
        for (int i = 0; i < 2; ++i) {
            QGroupBox box(c.title);
            box.setCheckable(c.checkable);
            box.setStyle(styles[i]);
            box.resize(c.size);
            images[i] = Grab(box);
        }
        ASSERT_EQ(images[0].size(), images[1].size());
        EXPECT_TRUE(images[0] == images[1]);
    }
}

// Painted band by band, the tool bar's lines and the progress bars' grooves
// come out as the style paints them whole (not the bars' chunks: the style
// clips those itself, which bands would undo).
TEST(WindowLook, ToolBarsAndProgressBarsAreFusionsToThePixel) {
    const std::unique_ptr<QStyle> fusion = Fusion();
    ASSERT_NE(fusion, nullptr);
    const std::unique_ptr<TWindowStyle> ours = OursOverFusion();
    const auto grabWindow = [](QStyle* style, Qt::ToolBarArea area) {
        QMainWindow window;
        window.setStyle(style);
        auto* bar = new QToolBar(QStringLiteral("Панель"));
        bar->setStyle(style);
        bar->addAction(QStringLiteral("Подключить"));
        window.addToolBar(area, bar);
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        for (const int value : {0, 40, 100}) {
            auto* progress = new QProgressBar;
            progress->setStyle(style);
            progress->setValue(value);
            layout->addWidget(progress);
        }
        auto* upright = new QProgressBar;
        upright->setStyle(style);
        upright->setOrientation(Qt::Vertical);
        upright->setValue(30);
        upright->setMinimumHeight(200);
        layout->addWidget(upright);
        window.setCentralWidget(central);
        window.resize(900, 520);
        return Premultiplied(window.grab().toImage());
    };
    for (const auto area : {Qt::TopToolBarArea, Qt::LeftToolBarArea}) {
        SCOPED_TRACE(int(area));
        const QImage theirs = grabWindow(fusion.get(), area);
        const QImage mine = grabWindow(ours.get(), area);
        ASSERT_EQ(theirs.size(), mine.size());
        EXPECT_TRUE(theirs == mine);
    }
}

TEST(WindowLook, ATooNarrowToolBarShowsTheDrawnExtensionButton) {
    TWindowStyle style;
    for (const auto kind : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QImage icon = style.standardIcon(kind).pixmap(16, 16).toImage();
        ASSERT_FALSE(icon.isNull());
        bool painted = false;
        for (int y = 0; y < icon.height() && !painted; ++y)
            for (int x = 0; x < icon.width() && !painted; ++x)
                painted = qAlpha(icon.pixel(x, y)) > 128;
        EXPECT_TRUE(painted) << int(kind);
    }
    // Any other picture is the desktop style's.
    EXPECT_FALSE(style.standardIcon(QStyle::SP_MessageBoxWarning).isNull());
}
