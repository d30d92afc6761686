// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QPluginLoader>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <map>
#include <memory>

#include <tessaro/kavo_video_sync_widget.h>
#include "qt/designer/default_properties.h"
#include "tests/qt/qt_test_main.h"
#include "tests/qt/stub_services.h"
#include "ui_course_window.h"

namespace tessaro::qt {
namespace {

class DesignerPluginTest : public ::testing::Test, protected testing::WithApplication {
  protected:
    QDesignerCustomWidgetInterface* load() {
        if (!loader.load())
            ADD_FAILURE() << loader.errorString().toStdString();
        return qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    }

    QPluginLoader loader{TESSARO_DESIGNER_PLUGIN};
};

TEST_F(DesignerPluginTest, LoadsAndReportsTheControlInTheTessaroGroup) {
    QDesignerCustomWidgetInterface* plugin = load();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->name(), "tessaro::KavoVideoSyncWidget");
    EXPECT_EQ(plugin->group(), "Tessaro");
    EXPECT_EQ(plugin->includeFile(), "tessaro/kavo_video_sync_widget.h");
    EXPECT_FALSE(plugin->isContainer());
    EXPECT_TRUE(plugin->domXml().contains("class=\"tessaro::KavoVideoSyncWidget\""));
}

TEST_F(DesignerPluginTest, CreatesTheWidgetWithItsThreeDesignableProperties) {
    QDesignerCustomWidgetInterface* plugin = load();
    ASSERT_NE(plugin, nullptr);
    QWidget form;
    QWidget* created = plugin->createWidget(&form);
    auto* widget = qobject_cast<KavoVideoSyncWidget*>(created);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &form);
    EXPECT_EQ(widget->size(), QSize(352, 288));
    for (const char* name : {"Resourcedir", "AsanaNaME", "TotalRec"}) {
        const QMetaObject* meta = widget->metaObject();
        const QMetaProperty property = meta->property(meta->indexOfProperty(name));
        ASSERT_TRUE(property.isValid()) << name;
        EXPECT_TRUE(property.isDesignable()) << name;
        EXPECT_TRUE(property.isWritable()) << name;
        EXPECT_TRUE(property.hasNotifySignal()) << name;
    }
}

// A property sheet holding only the changed flags Designer saves by.
class FlagSheet : public QDesignerPropertySheetExtension {
  public:
    int count() const override { return int(names.size()); }
    int indexOf(const QString& name) const override { return int(names.indexOf(name)); }
    QString propertyName(int index) const override { return names.at(index); }
    QString propertyGroup(int) const override { return {}; }
    void setPropertyGroup(int, const QString&) override {}
    bool hasReset(int) const override { return false; }
    bool reset(int) override { return false; }
    bool isVisible(int) const override { return true; }
    void setVisible(int, bool) override {}
    bool isAttribute(int) const override { return false; }
    void setAttribute(int, bool) override {}
    QVariant property(int) const override { return {}; }
    void setProperty(int, const QVariant&) override {}
    bool isChanged(int index) const override { return changed.value(names.at(index)); }
    void setChanged(int index, bool value) override { changed[names.at(index)] = value; }
    bool isEnabled(int) const override { return true; }

    QStringList names{"objectName", "Resourcedir", "AsanaNaME", "TotalRec"};
    QMap<QString, bool> changed{{"objectName", true}};
};

TEST_F(DesignerPluginTest, OnlyPropertiesDifferingFromTheirDefaultsAreMarkedForTheForm) {
    testing::StubServices stubs;
    KavoVideoSyncWidget widget(stubs.services());
    FlagSheet sheet;
    struct Step {
        const char* property;
        QVariant value;
        std::map<QString, bool> expected;
    };
    const Step steps[] = {
        {"Resourcedir",
         "C:\\Course",
         {{"Resourcedir", true}, {"AsanaNaME", false}, {"TotalRec", false}}},
        {"TotalRec", 5, {{"Resourcedir", true}, {"AsanaNaME", false}, {"TotalRec", true}}},
        {"AsanaNaME", "0", {{"Resourcedir", true}, {"AsanaNaME", false}, {"TotalRec", true}}},
        {"Resourcedir", "0", {{"Resourcedir", false}, {"AsanaNaME", false}, {"TotalRec", true}}},
        {"TotalRec", 0, {{"Resourcedir", false}, {"AsanaNaME", false}, {"TotalRec", false}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.property);
        widget.setProperty(step.property, step.value);
        designer::markPropertiesDifferingFromDefaults(widget, sheet);
        for (const auto& [name, changed] : step.expected)
            EXPECT_EQ(sheet.changed.value(name), changed) << name.toStdString();
    }
    EXPECT_TRUE(sheet.changed.value("objectName"));
}

TEST_F(DesignerPluginTest, AFormUsingTheControlBuildsWithUicAndSetsItsProperties) {
    QWidget window;
    Ui::CourseWindow form;
    form.setupUi(&window);
    ASSERT_NE(form.player, nullptr);
    EXPECT_EQ(form.player->Resourcedir(), "C:\\Course");
    EXPECT_EQ(form.player->AsanaNaME(), "Tadasana");
    EXPECT_EQ(form.player->TotalRec(), 0);
    EXPECT_EQ(form.player->geometry(), QRect(8, 8, 352, 288));
}

}  // namespace
}  // namespace tessaro::qt
