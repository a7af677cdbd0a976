// Image lists stream their images as one PNG of tiles.
#include "ImgList.h"

#include <gtest/gtest.h>

#include <QColor>

TEST(ImageListBitmap, ImagesSurviveTheirStreamedFormAndBadDataLeavesTheListEmpty)
{
    TImageList list(nullptr);
    for (QColor colour : {QColor(Qt::red), QColor(0, 0, 255, 128), QColor(Qt::transparent)}) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(colour);
        list.Add(image);
    }
    TImageList copy(nullptr);
    copy.ReadBitmap(list.WriteBitmap());
    ASSERT_EQ(copy.Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(copy.Image(i), list.Image(i).convertToFormat(QImage::Format_ARGB32)) << i;

    // A strip whose width is no multiple of the tile keeps only whole tiles.
    QImage ragged(40, 16, QImage::Format_ARGB32);
    ragged.fill(Qt::green);
    TImageList source(nullptr);
    source.SetWidth(40);
    source.Add(ragged);
    copy.ReadBitmap(source.WriteBitmap());
    EXPECT_EQ(copy.Count(), 2);

    copy.ReadBitmap("not an image");
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_TRUE(copy.WriteBitmap().isEmpty());
}
