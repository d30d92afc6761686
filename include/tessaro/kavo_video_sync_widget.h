// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include <tessaro/export.h>
#include <tessaro/kavo_video_sync.h>

class QSettings;

namespace tessaro {

namespace media {
class DeviceForecast;
}
namespace qt {
class QtHostContainer;
}

// The control as a Qt widget of 352 x 288 pixels (5280 x 4320 twips), for Qt Widgets hosts
// and Designer forms. It owns its container and its KavoVideoSync; the child controls
// Picture2, Timer2, Picture1 and Timer1 live in it (picture boxes as child widgets named
// so). Everything runs on the GUI thread. On a media service that foresees its devices
// (media::DeviceForecast, as the process's service does), Timer1 and Timer2 wake only when a
// tick can change something, and now and then for what no device foresees, rather than
// every 10 ms; on any other they poll every 10 ms.
//
// Failures: the methods below throw tessaro::Error to a C++ caller, as the control's
// methods do; a host calling them from its own slot catches it there, because an
// exception must never reach Qt's event loop. When a method runs as the slot of a signal
// connected to the widget itself, or through a queued invocation, the widget catches the
// failure and reports it by controlError (or, with no receiver connected, through the
// message presenter) instead.
class TESSARO_EXPORT KavoVideoSyncWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Resourcedir READ Resourcedir WRITE setResourcedir NOTIFY ResourcedirChanged)
    Q_PROPERTY(QString AsanaNaME READ AsanaNaME WRITE setAsanaNaME NOTIFY AsanaNaMEChanged)
    Q_PROPERTY(int TotalRec READ TotalRec WRITE setTotalRec NOTIFY TotalRecChanged)

  public:
    // The services of a control other than its container.
    struct Services {
        catalogue::Engine& engine;
        media::CommandService& media;
        host::ModuleFolder& moduleFolder;
    };

    // A control on the process's catalogue engine, GStreamer media service and library
    // folder; the media service's error reports are shown as message boxes.
    explicit KavoVideoSyncWidget(QWidget* parent = nullptr);
    // A control on other services (a virtual-clock backend, another catalogue).
    KavoVideoSyncWidget(Services services, QWidget* parent = nullptr);
    ~KavoVideoSyncWidget() override;

    QString Resourcedir() const;
    void setResourcedir(const QString& value);
    QString AsanaNaME() const;
    void setAsanaNaME(const QString& value);
    int TotalRec() const;
    // A value outside -32768..32767 is refused with a warning: nothing changes.
    void setTotalRec(int value);

    Q_INVOKABLE void fileOpen();
    Q_INVOKABLE void InitAudio();
    Q_INVOKABLE void InitVideo();
    Q_INVOKABLE void StopPlay();
    Q_INVOKABLE void Preview();
    Q_INVOKABLE void Pause();
    Q_INVOKABLE void Start();
    Q_INVOKABLE void Ppreview();

    // Persistence of Resourcedir, AsanaNaME and TotalRec. The constructor has run init
    // already; a host restoring a saved window reads after it.
    void initProperties();
    void readProperties(host::PropertyBag& bag);
    void writeProperties(host::PropertyBag& bag);
    // The same over QSettings, in the group named (one group per control).
    void readSettings(QSettings& settings, const QString& group);
    void writeSettings(QSettings& settings, const QString& group);

    // The control itself, for C++ hosts and diagnostics.
    KavoVideoSync& control() { return *control_; }
    const KavoVideoSync& control() const { return *control_; }

    QSize sizeHint() const override;

  signals:
    void CurAudioNos();
    void VideoEnd();
    void ResourcedirChanged();
    void AsanaNaMEChanged();
    void TotalRecChanged();
    // A method invoked through Qt's signal or queued calls failed.
    void controlError(int number, const QString& text);

  protected:
    bool event(QEvent* event) override;

  private:
    template <typename Call>
    void callControl(Call call);
    void reportError(const Error& error);
    void planLoopWakes(media::CommandService& media);
    void propertyChanged(std::string_view name);
    void raiseEvent(std::string_view name);

    std::unique_ptr<qt::QtHostContainer> container_;
    std::unique_ptr<KavoVideoSync> control_;
    // The media service's foresight, when it has one, and the number of this control's wake.
    media::DeviceForecast* forecast_ = nullptr;
    int wakeId_ = 0;
};

}  // namespace tessaro
