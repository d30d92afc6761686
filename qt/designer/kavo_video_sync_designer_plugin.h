// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class QDesignerFormEditorInterface;

namespace tessaro {
class KavoVideoSyncWidget;
}

namespace tessaro::designer {

// Designer's factory for KavoVideoSyncWidget, in the widget box group "Tessaro".
class KavoVideoSyncDesignerPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

  public:
    explicit KavoVideoSyncDesignerPlugin(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    QString domXml() const override;
    bool isContainer() const override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;
    QWidget* createWidget(QWidget* parent) override;

  private:
    void keepOnlyChangedProperties(KavoVideoSyncWidget* widget);

    QDesignerFormEditorInterface* core_ = nullptr;
};

}  // namespace tessaro::designer
