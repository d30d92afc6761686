// SPDX-License-Identifier: MIT
#include "qt/designer/kavo_video_sync_designer_plugin.h"

#include <QIcon>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

#include <tessaro/kavo_video_sync_widget.h>
#include "qt/designer/default_properties.h"

namespace tessaro::designer {

KavoVideoSyncDesignerPlugin::KavoVideoSyncDesignerPlugin(QObject* parent) : QObject(parent) {}

QString KavoVideoSyncDesignerPlugin::name() const {
    return QStringLiteral("tessaro::KavoVideoSyncWidget");
}

QString KavoVideoSyncDesignerPlugin::group() const {
    return QStringLiteral("Tessaro");
}

QString KavoVideoSyncDesignerPlugin::toolTip() const {
    return QStringLiteral("KavoVideoSync narrated-media playback control");
}

QString KavoVideoSyncDesignerPlugin::whatsThis() const {
    return QStringLiteral(
        "Plays an asana of the course below Resourcedir: its video with narration, or its "
        "pictures with narration.");
}

QString KavoVideoSyncDesignerPlugin::includeFile() const {
    return QStringLiteral("tessaro/kavo_video_sync_widget.h");
}

QIcon KavoVideoSyncDesignerPlugin::icon() const {
    return {};
}

QString KavoVideoSyncDesignerPlugin::domXml() const {
    return QStringLiteral(
        "<ui language=\"c++\">\n"
        " <widget class=\"tessaro::KavoVideoSyncWidget\" name=\"kavoVideoSync\">\n"
        "  <property name=\"geometry\">\n"
        "   <rect><x>0</x><y>0</y><width>352</width><height>288</height></rect>\n"
        "  </property>\n"
        " </widget>\n"
        " <customwidgets>\n"
        "  <customwidget>\n"
        "   <class>tessaro::KavoVideoSyncWidget</class>\n"
        "   <header location=\"global\">tessaro/kavo_video_sync_widget.h</header>\n"
        "  </customwidget>\n"
        " </customwidgets>\n"
        "</ui>\n");
}

bool KavoVideoSyncDesignerPlugin::isContainer() const {
    return false;
}

bool KavoVideoSyncDesignerPlugin::isInitialized() const {
    return core_ != nullptr;
}

void KavoVideoSyncDesignerPlugin::initialize(QDesignerFormEditorInterface* core) {
    core_ = core;
}

QWidget* KavoVideoSyncDesignerPlugin::createWidget(QWidget* parent) {
    auto* widget = new KavoVideoSyncWidget(parent);
    keepOnlyChangedProperties(widget);
    return widget;
}

// Designer marks a property changed on every edit, also back to its default; the sheet is
// corrected once Designer's own edit has finished, hence the queued connections.
void KavoVideoSyncDesignerPlugin::keepOnlyChangedProperties(KavoVideoSyncWidget* widget) {
    if (!core_)
        return;
    const auto correct = [this, widget] {
        auto* sheet =
            qt_extension<QDesignerPropertySheetExtension*>(core_->extensionManager(), widget);
        if (sheet)
            markPropertiesDifferingFromDefaults(*widget, *sheet);
    };
    for (const auto signal :
         {&KavoVideoSyncWidget::ResourcedirChanged, &KavoVideoSyncWidget::AsanaNaMEChanged,
          &KavoVideoSyncWidget::TotalRecChanged})
        connect(widget, signal, widget, correct, Qt::QueuedConnection);
}

}  // namespace tessaro::designer
