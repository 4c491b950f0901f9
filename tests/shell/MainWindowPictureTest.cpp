// Grabs the main window as the README shows it.
#include "ShellTestWindow.h"

#include "doubles/PicturePath.h"
#include "doubles/WaitFor.h"

#include <QImage>
#include <QPixmap>
#include <QSet>

using namespace Qt::StringLiterals;

TEST_F(ShellTest, MainWindowPictureForTheReadme) {
    window->resize(960, 600);
    spinFor(100); // layout and the first paint
    const QImage picture = window->grab().toImage();
    ASSERT_EQ(picture.size(), QSize(960, 600) * window->devicePixelRatio());

    // A window that drew nothing would be one flat colour.
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 8);

    const QString path = picturePath(u"main-window.png"_s);
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(picture.save(path));
    EXPECT_EQ(QImage(path).size(), picture.size());
}
