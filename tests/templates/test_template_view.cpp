#include "access/mvp_property_access.h"
#include "cfg/kav_cfg_settings.h"
#include "mvp_editing_fixture.h"
#include "propertyaccess/kav_property_access_factory.h"
#include "templates/mvp_prop_acc_template_view.h"

using namespace Kav;
using namespace Kav::PropertyAccess;
using Kav::MCADVisProp::PropAccTemplateView;
using MvpTest::clickBox;
using MvpTest::row;

namespace {

class TemplateViewTest : public MvpTest::EditingTest {
protected:
    // A shown view, tall enough that scrolling is rarely needed.
    std::unique_ptr<PropAccTemplateView> makeView()
    {
        auto view = std::make_unique<PropAccTemplateView>(nullptr);
        view->resize(320, 480);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return view;
    }
};

Qt::ItemFlags const categoryFlags = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsAutoTristate;
Qt::ItemFlags const propertyFlags = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;

} // namespace

QStringList const libraryTree = MvpTest::words(
    "restore general|  all legend parameters|restore 3d|  rotation|  translation|  scale|  axis scale|"
    "restore explorer elements|  element visibility|  element visualization|  element pullout distance|"
    "  label visibility|  label auto placement|  label content template|new and invalid elements|"
    "  set new elements invisible|  set invalid elements invisible");

TEST_F(TemplateViewTest, TreeFollowsTheCreatorsInCategoryOrder)
{
    auto view = makeView();
    EXPECT_EQ(MvpTest::treeText(view.get()), libraryTree);

    // Nothing shown: every box unchecked and greyed.
    for (QTreeWidgetItem* item : view->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
        EXPECT_EQ(item->checkState(0), Qt::Unchecked) << item->text(0).toStdString();
        EXPECT_FALSE(item->flags() & Qt::ItemIsEnabled) << item->text(0).toStdString();
    }

    PropAccTemplate t(QStringLiteral("user"));
    view->setTemplate(&t);
    EXPECT_EQ(row(view.get(), QStringLiteral("restore 3d"))->flags(), categoryFlags);
    EXPECT_EQ(row(view.get(), QStringLiteral("new and invalid elements"))->flags(), categoryFlags);
    EXPECT_EQ(row(view.get(), QStringLiteral("rotation"))->flags(), propertyFlags);
    EXPECT_EQ(row(view.get(), QStringLiteral("set new elements invisible"))->flags(), propertyFlags);
}

TEST_F(TemplateViewTest, ClicksWriteTheTemplate)
{
    auto view = makeView();
    PropAccTemplate t(QStringLiteral("user"));
    PropAccTemplatePart element(PROP_ACC_CAD_ELEMENT);
    element.setUsage(PROP_ELEMENT_VISIBILITY, false);
    element.setUsage(PROP_LABEL_VISIBILITY, false);
    t.set(element);
    PropAccTemplatePart viewPart(PROP_ACC_3D_VIEW);
    viewPart.setUsage(PROP_SCALE, false);
    t.set(viewPart);
    view->setTemplate(&t);

    // The shared box shows the container's usage (registered after the element): the fresh
    // default, true. No part for the legend: its fresh default too.
    QTreeWidgetItem* visibility = row(view.get(), QStringLiteral("element visibility"));
    EXPECT_EQ(visibility->checkState(0), Qt::Checked);
    EXPECT_EQ(row(view.get(), QStringLiteral("label visibility"))->checkState(0), Qt::Unchecked);
    EXPECT_EQ(row(view.get(), QStringLiteral("all legend parameters"))->checkState(0), Qt::Checked);
    EXPECT_EQ(row(view.get(), QStringLiteral("restore 3d"))->checkState(0), Qt::PartiallyChecked);
    EXPECT_FALSE(t.hasTemplatePart(PROP_ACC_LEGEND));

    clickBox(view.get(), visibility);
    EXPECT_EQ(visibility->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(t.getTemplatePart(PROP_ACC_CAD_ELEMENT).getUsage(PROP_ELEMENT_VISIBILITY));
    EXPECT_FALSE(t.getTemplatePart(PROP_ACC_CAD_CONTAINER).getUsage(PROP_ELEMENT_VISIBILITY));
    EXPECT_FALSE(t.getTemplatePart(PROP_ACC_CAD_ELEMENT).getUsage(PROP_LABEL_VISIBILITY)) << "other boxes kept";
    for (PropAccessType_t type : PropertyAccessFactory::getRegisteredTypes())
        EXPECT_TRUE(t.hasTemplatePart(type)) << "after a click every type has a part: " << type;

    clickBox(view.get(), visibility);
    EXPECT_TRUE(t.getTemplatePart(PROP_ACC_CAD_ELEMENT).getUsage(PROP_ELEMENT_VISIBILITY));
    EXPECT_TRUE(t.getTemplatePart(PROP_ACC_CAD_CONTAINER).getUsage(PROP_ELEMENT_VISIBILITY));

    // A partly checked category becomes checked, all its properties at once; then unchecked.
    for (bool const checked : {true, false}) {
        clickBox(view.get(), row(view.get(), QStringLiteral("restore 3d")));
        for (PropTemplateID_t id : {PROP_ROTATION, PROP_TRANSLATION, PROP_SCALE, PROP_AXIS_SCALE})
            EXPECT_EQ(t.getTemplatePart(PROP_ACC_3D_VIEW).getUsage(id), checked) << id;
    }
    EXPECT_TRUE(t.getTemplatePart(PROP_ACC_LEGEND).getUsage(PROP_LEGEND_ALL)) << "other categories untouched";

    // The two flags.
    EXPECT_FALSE(t.newInvisible());
    clickBox(view.get(), row(view.get(), QStringLiteral("set new elements invisible")));
    EXPECT_TRUE(t.newInvisible());
    EXPECT_FALSE(t.invalidCMMInvisible());
    clickBox(view.get(), row(view.get(), QStringLiteral("new and invalid elements")));
    EXPECT_TRUE(t.newInvisible());
    EXPECT_TRUE(t.invalidCMMInvisible());
}

TEST_F(TemplateViewTest, ReadOnlyTemplatesShowTheirUsageAndIgnoreClicks)
{
    auto view = makeView();
    PropAccTemplate stored = sample(QStringLiteral("odd"), Cfg::LEVEL_INSTALLATION);
    for (Cfg::Level level : {Cfg::LEVEL_INSTALLATION, Cfg::LEVEL_SHARED, Cfg::LEVEL_USER}) {
        bool const locked = level == Cfg::LEVEL_USER;
        Cfg::Settings::setLocked(locked);
        stored.setConfigLevel(level);
        PropAccTemplate t = stored;
        view->setTemplate(&t);
        SCOPED_TRACE(::testing::Message() << "level " << level << (locked ? " locked" : ""));

        EXPECT_EQ(row(view.get(), QStringLiteral("rotation"))->checkState(0), Qt::Unchecked);
        EXPECT_EQ(row(view.get(), QStringLiteral("translation"))->checkState(0), Qt::Checked);
        EXPECT_EQ(row(view.get(), QStringLiteral("set invalid elements invisible"))->checkState(0), Qt::Checked);
        for (QString const& text : {QStringLiteral("rotation"), QStringLiteral("restore 3d"),
                                   QStringLiteral("set new elements invisible")}) {
            QTreeWidgetItem* item = row(view.get(), text);
            EXPECT_FALSE(item->flags() & Qt::ItemIsEnabled) << text.toStdString();
            Qt::CheckState const before = item->checkState(0);
            clickBox(view.get(), item);
            EXPECT_EQ(item->checkState(0), before) << text.toStdString();
        }
        EXPECT_EQ(t, stored) << "a click changed a read-only template";
    }

    Cfg::Settings::setLocked(false);
    view->setTemplate(nullptr);
    clickBox(view.get(), row(view.get(), QStringLiteral("rotation")));
    EXPECT_EQ(row(view.get(), QStringLiteral("rotation"))->checkState(0), Qt::Unchecked);
}

TEST_F(TemplateViewTest, TheLibrarysOwnCreatorsGiveTheSameTree)
{
    // Newer creators of a type answer for it, in the order the library registers them.
    MCADVisProp::CADElementPropertyAccessCreator element;
    MCADVisProp::CADContainerPropertyAccessCreator container;
    MCADVisProp::GLViewPropertyAccessCreator view3d;
    MCADVisProp::LegendPropertyAccessCreator legend;
    auto view = makeView();
    EXPECT_EQ(MvpTest::treeText(view.get()), libraryTree);

    PropAccTemplate t(QStringLiteral("user"));
    view->setTemplate(&t);
    clickBox(view.get(), row(view.get(), QStringLiteral("element visibility")));
    EXPECT_FALSE(t.getTemplatePart(PROP_ACC_CAD_ELEMENT).getUsage(PROP_ELEMENT_VISIBILITY));
    EXPECT_FALSE(t.getTemplatePart(PROP_ACC_CAD_CONTAINER).getUsage(PROP_ELEMENT_VISIBILITY));
    EXPECT_TRUE(t.getTemplatePart(PROP_ACC_CAD_ELEMENT).getUsage(PROP_ELEMENT_VISUALIZATION));
}
