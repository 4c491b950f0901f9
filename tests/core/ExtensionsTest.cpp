// Button and view styles, checked on real widgets rendered on the offscreen platform.
#include "core/Extensions.h"
#include "core/Helper.h"
#include "core/Logger.h"
#include "platform/NamedColors.h"

#include <QDir>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QImage>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kBackground(0x20, 0x80, 0x40);
const QColor kBorder(0xC0, 0x10, 0x10);
const QColor kText(0x10, 0x10, 0xC0);

const QColor kHost(0xFF, 0xFF, 0xFF);

// The widget as it shows inside a white window: 120 by 40 pixels.
QImage render(QWidget& widget) {
    QWidget host;
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, kHost);
    host.setPalette(palette);
    host.setAutoFillBackground(true);
    host.resize(140, 60);
    QWidget* const formerParent = widget.parentWidget();
    widget.setParent(&host);
    widget.setGeometry(10, 10, 120, 40);
    widget.show();
    host.ensurePolished();
    const QImage image = host.grab(QRect(10, 10, 120, 40)).toImage();
    widget.setParent(formerParent);
    return image;
}

QColor pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

QColor titleColor(QPushButton& button) {
    button.ensurePolished();
    return button.palette().color(QPalette::ButtonText);
}

TEST(ButtonStyle, IsARoundedButtonOnItsBackground) {
    QPushButton button;
    Extensions::setButton(&button, kBackground);
    const QImage image = render(button);
    EXPECT_EQ(pixel(image, 60, 20), kBackground);
    EXPECT_EQ(pixel(image, 2, 20), kBackground); // no border
    EXPECT_EQ(pixel(image, 0, 0), kHost);        // rounded corner
}

TEST(ButtonStyle, ABorderedButtonTakesTheBorderColourForItsTitle) {
    QPushButton button(u"OK"_s);
    Extensions::setButton(&button, kBackground, true, kBorder);
    const QImage image = render(button);
    EXPECT_EQ(pixel(image, 0, 20), kBorder);
    EXPECT_EQ(pixel(image, 60, 3), kBackground);
    EXPECT_EQ(titleColor(button), kBorder);
    button.setEnabled(false); // greyed, as every rounded button that cannot be used
    EXPECT_EQ(pixel(render(button), 0, 20), *NamedColors::color(NamedColors::lightgrey));
    EXPECT_EQ(titleColor(button), *NamedColors::color(NamedColors::grey));
}

TEST(ButtonStyle, ABorderedButtonWithoutBorderColourUsesTheNamedBlueOrTheSystemBlue) {
    QPushButton button;
    Extensions::setButton(&button, kBackground, true);
    EXPECT_EQ(pixel(render(button), 0, 20), *NamedColors::color(NamedColors::blue));

    NamedColors::setColor(NamedColors::blue, std::nullopt);
    QPushButton fallback;
    Extensions::setButton(&fallback, kBackground, true);
    EXPECT_EQ(pixel(render(fallback), 0, 20), Extensions::systemBlue());
    NamedColors::restoreDefaults();
}

TEST(ButtonStyle, TheTitleColourAndTheButtonStyleKeepEachOther) {
    QPushButton button(u"Next"_s);
    Extensions::setButton(&button, kBackground, true, kBorder);
    Extensions::set(&button, kText);
    QImage image = render(button);
    EXPECT_EQ(titleColor(button), kText);
    EXPECT_EQ(pixel(image, 0, 20), kBorder);
    EXPECT_EQ(pixel(image, 60, 3), kBackground);

    // Restyling later (as the quiz does on every question) keeps the title colour.
    Extensions::setButton(&button, kBorder);
    image = render(button);
    EXPECT_EQ(titleColor(button), kText);
    EXPECT_EQ(pixel(image, 60, 3), kBorder);
}

TEST(ButtonStyle, AnActionButtonIsAFullSizedBlueButtonWithAWhiteTitle) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton(u"OK"_s, &window);
    Extensions::setActionButton(button);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    window.show();
    // The style sheet drops the platform's padding; the button must not shrink to its text.
    EXPECT_GE(button->height(), 40);
    EXPECT_GE(button->width(), 180);
    EXPECT_EQ(titleColor(*button), QColor(Qt::white));
    const QImage face = button->grab().toImage();
    EXPECT_EQ(pixel(face, 10, face.height() / 2), *NamedColors::color(NamedColors::blue));
    button->setEnabled(false);
    EXPECT_EQ(pixel(button->grab().toImage(), 10, 20), *NamedColors::color(NamedColors::appColor));

    NamedColors::setColor(NamedColors::blue, std::nullopt);
    QPushButton fallback;
    Extensions::setActionButton(&fallback);
    EXPECT_EQ(pixel(render(fallback), 60, 20), Extensions::systemBlue());
    NamedColors::restoreDefaults();
}

TEST(ButtonStyle, SettingTheTitleColourWritesOneDebugLogLine) {
    const QString path = Logger::currentFilePath();
    QFile::remove(path);
    QPushButton button;
    Extensions::set(&button, kText);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(
        lines[0].contains(": file_name:Extensions.cpp | function: set(textColor:) | line: "));
}

TEST(ButtonShadow, IsTwoPixelsBelowBlurredOverFour) {
    QPushButton button;
    Extensions::add(&button, kBackground, kBorder);
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(button.graphicsEffect());
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->color(), kBorder);
    EXPECT_EQ(shadow->offset(), QPointF(0, 2));
    EXPECT_EQ(shadow->blurRadius(), 4);
    EXPECT_EQ(pixel(render(button), 60, 20), kBackground);

    const auto defaultShadow = [] {
        QPushButton plain;
        Extensions::add(&plain, kBackground);
        auto* effect = qobject_cast<QGraphicsDropShadowEffect*>(plain.graphicsEffect());
        return effect ? effect->color() : QColor();
    };
    EXPECT_EQ(defaultShadow(), *NamedColors::color(NamedColors::grey));
    NamedColors::setColor(NamedColors::grey, std::nullopt);
    EXPECT_EQ(defaultShadow(), Extensions::systemGrey());
    NamedColors::restoreDefaults();
}

TEST(ViewBackground, IsPaintedAndReadBackUntilRemoved) {
    QWidget view;
    EXPECT_EQ(Extensions::backgroundColor(&view), std::nullopt);
    Extensions::setBackgroundColor(&view, kBackground);
    EXPECT_EQ(Extensions::backgroundColor(&view), kBackground);
    EXPECT_EQ(pixel(render(view), 60, 20), kBackground);

    Extensions::setBackgroundColor(&view, std::nullopt);
    EXPECT_EQ(Extensions::backgroundColor(&view), std::nullopt);
    EXPECT_EQ(pixel(render(view), 60, 20), kHost);
}

} // namespace
