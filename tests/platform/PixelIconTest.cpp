#include "platform/PixelIcon.h"
#include "app/Unit1.h"
#include "platform/ProgramIcon.h"
#include "support/TestSupport.h"

#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {
QImage argb(const QImage &image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}
} // namespace

// Every glyph and tree image at 1x, 1.5x and 2x: the same drawing, each pixel one of the
// drawing's own colours (no blur), at 2x each source pixel a whole 2 by 2 block.
TEST(PixelIcon, SameDrawingCrispAtEveryRatio) {
    Q_INIT_RESOURCE(resources);
    int checked = 0;
    for (const QString &folder : {":/glyphs", ":/tree"}) {
        for (QDirIterator it(folder); it.hasNext();) {
            const QString file = it.next();
            const QImage source = QImage(file).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(source.size(), QSize(16, 16)) << file.toStdString();
            QSet<QRgb> palette;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    palette.insert(source.pixel(x, y));
            const QIcon icon = platform::PixelIcon(file);
            for (const double ratio : {1.0, 1.5, 2.0}) {
                const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
                const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
                const int side = int(16 * ratio);
                ASSERT_EQ(image.size(), QSize(side, side)) << file.toStdString() << " " << ratio;
                EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
                for (int y = 0; y < side; ++y)
                    for (int x = 0; x < side; ++x) {
                        ASSERT_TRUE(palette.contains(image.pixel(x, y)))
                            << file.toStdString() << " " << ratio << " at " << x << "," << y;
                        if (ratio == 2.0)
                            ASSERT_EQ(image.pixel(x, y), source.pixel(x / 2, y / 2));
                    }
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 12);

    // A drawing for the disabled state is used for it.
    const QIcon back = platform::PixelIcon(":/glyphs/back.xpm", ":/glyphs/back_disabled.xpm");
    EXPECT_EQ(argb(back.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).toImage()),
              argb(QImage(":/glyphs/back_disabled.xpm").scaled(32, 32)));
}

// A Contents book shows the closed folder, and the open one while selected, both sharp at 2x.
TEST(PixelIcon, ContentsNodesShowTheirImagesAtDoubleRatio) {
    using namespace testing_support;
    HelpFolder folder;
    folder.Page("a.htm", "<p>a</p>");
    folder.WriteText("help.vlp", MakeProject({"[0,R,0]Book@a.htm", "[1,P,0]Page@a.htm"}, {}));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    const auto drawn = [](TTreeNode *node, QIcon::Mode mode) {
        return argb(node->icon(0).pixmap(QSize(16, 16), 2.0, mode).toImage());
    };
    const auto drawing = [](const char *file) { return argb(QImage(file).scaled(32, 32)); };
    EXPECT_EQ(drawn(viewer.Node("Book"), QIcon::Normal), drawing(":/tree/folder_closed.xpm"));
    EXPECT_EQ(drawn(viewer.Node("Book"), QIcon::Selected), drawing(":/tree/folder_open.xpm"));
    EXPECT_EQ(drawn(viewer.Node("Page"), QIcon::Normal), drawing(":/tree/page.xpm"));
    EXPECT_EQ(drawn(viewer.Node("Page"), QIcon::Selected), drawing(":/tree/page_selected.xpm"));
}

// The program icon has a rendering of its own for both window sizes at 1x, 1.5x and 2x, so no
// screen gets a blown-up bitmap.
TEST(PixelIcon, ProgramIconRenderedForEveryRatio) {
    const QIcon icon = platform::ProgramIcon();
    for (const int side : {16, 32})
        for (const double ratio : {1.0, 1.5, 2.0}) {
            const int pixels = int(side * ratio);
            const QPixmap pixmap = icon.pixmap(QSize(side, side), ratio);
            ASSERT_EQ(pixmap.size(), QSize(pixels, pixels)) << side << " " << ratio;
            // Compared premultiplied, as a pixmap keeps it, so edge pixels round alike.
            const auto premultiplied = [](const QImage &image) {
                return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            };
            EXPECT_EQ(premultiplied(pixmap.toImage()),
                      premultiplied(QImage(platform::ProgramIconFile(pixels))))
                << side << " " << ratio;
        }
}
