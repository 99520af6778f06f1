#include "gicon/kav_icon_cache.h"

#include <QImage>

#include <gtest/gtest.h>

using Kav::GIcon::Cache;

namespace {

int opaquePixels(QImage const& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                ++count;
    return count;
}

} // namespace

TEST(IconCache, OneDistinctCachedPixmapPerLevel)
{
    Kav::Cfg::Level const levels[] = {Kav::Cfg::LEVEL_INSTALLATION, Kav::Cfg::LEVEL_SHARED, Kav::Cfg::LEVEL_USER};
    std::vector<QImage> images;
    for (Kav::Cfg::Level level : levels) {
        QPixmap const* icon = Cache::getConfigLevelIcon(level);
        ASSERT_NE(icon, nullptr) << level;
        EXPECT_FALSE(icon->isNull());
        EXPECT_EQ(icon->size(), QSize(16, 16));
        EXPECT_EQ(Cache::getConfigLevelIcon(level), icon);   // cached
        images.push_back(icon->toImage().convertToFormat(QImage::Format_ARGB32));
        EXPECT_GT(opaquePixels(images.back()), 100);
    }
    EXPECT_NE(images[0], images[1]);
    EXPECT_NE(images[0], images[2]);
    EXPECT_NE(images[1], images[2]);
    EXPECT_EQ(Cache::getConfigLevelIcon(static_cast<Kav::Cfg::Level>(3)), nullptr);
    EXPECT_EQ(Cache::getConfigLevelIcon(static_cast<Kav::Cfg::Level>(-1)), nullptr);
}

TEST(IconCache, ActionIconsAreDistinctInBothSizes)
{
    QString const names[] = {Kav::GIcon::ACT_NEW, Kav::GIcon::ACT_RENAME, Kav::GIcon::ACT_DELETE,
                             Kav::GIcon::ACT_IMPORT, Kav::GIcon::ACT_EXPORT};
    EXPECT_EQ(Kav::GIcon::ACT_NEW, QStringLiteral("act_new"));
    EXPECT_EQ(Kav::GIcon::ACT_EXPORT, QStringLiteral("act_export"));
    for (auto size : {Cache::ICON_SMALL, Cache::ICON_LARGE}) {
        int const pixels = size == Cache::ICON_LARGE ? 32 : 16;
        std::vector<QImage> images;
        for (QString const& name : names) {
            QIcon const icon = Cache::getIconSet(name, size);
            ASSERT_FALSE(icon.isNull()) << name.toStdString();
            EXPECT_TRUE(icon.availableSizes().contains(QSize(pixels, pixels))) << name.toStdString();
            images.push_back(icon.pixmap(pixels, pixels).toImage().convertToFormat(QImage::Format_ARGB32));
            EXPECT_EQ(images.back().size(), QSize(pixels, pixels));
            EXPECT_GT(opaquePixels(images.back()), pixels) << name.toStdString();
        }
        for (std::size_t i = 0; i < images.size(); ++i)
            for (std::size_t j = i + 1; j < images.size(); ++j)
                EXPECT_NE(images[i], images[j]) << names[i].toStdString() << " vs " << names[j].toStdString();
    }
    EXPECT_TRUE(Cache::getIconSet(QStringLiteral("act_unknown"), Cache::ICON_SMALL).isNull());
    EXPECT_TRUE(Cache::getIconSet(QString(), Cache::ICON_LARGE).isNull());
}
