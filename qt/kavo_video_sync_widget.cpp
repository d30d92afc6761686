// SPDX-License-Identifier: MIT
#include <tessaro/kavo_video_sync_widget.h>

#include <QMetaMethod>
#include <QSettings>
#include <limits>

#include <tessaro/message_presenter.h>
#include <tessaro/qsettings_property_bag.h>
#include "platform/media/device_forecast.h"
#include "qt/loop_wakes.h"
#include "qt/qt_host_container.h"

namespace tessaro {
namespace {

constexpr int WidthPixels = 352;
constexpr int HeightPixels = 288;

std::string toStd(const QString& text) {
    return text.toStdString();
}

}  // namespace

KavoVideoSyncWidget::KavoVideoSyncWidget(Services services, QWidget* parent)
    : QWidget(parent),
      container_(std::make_unique<qt::QtHostContainer>(
          *this, [this](std::string_view name) { propertyChanged(name); },
          [this](std::string_view name) { raiseEvent(name); })) {
    resize(WidthPixels, HeightPixels);
    control_ = std::make_unique<KavoVideoSync>(
        ControlServices{services.engine, services.media, *container_, services.moduleFolder});
    control_->InitProperties();
    planLoopWakes(services.media);
}

// A media service that foresees its devices lets the loop timers sleep until a tick can
// change something; another keeps them polling at their fine interval.
void KavoVideoSyncWidget::planLoopWakes(media::CommandService& media) {
    forecast_ = dynamic_cast<media::DeviceForecast*>(&media);
    if (!forecast_)
        return;
    qt::QtTimer& timer1 = *container_->timer("Timer1");
    qt::QtTimer& timer2 = *container_->timer("Timer2");
    timer1.setWakePlan([this] { return qt::LoopWakes::videoLoop(control_->state(), *forecast_); });
    timer2.setWakePlan(
        [this] { return qt::LoopWakes::pictureLoop(control_->state(), *forecast_); });
    wakeId_ = forecast_->wakeOnUnforeseenChange([&timer1, &timer2] {
        timer1.wakeSoon();
        timer2.wakeSoon();
    });
}

KavoVideoSyncWidget::~KavoVideoSyncWidget() {
    if (forecast_)
        forecast_->forgetWake(wakeId_);
}

QSize KavoVideoSyncWidget::sizeHint() const {
    return {WidthPixels, HeightPixels};
}

QString KavoVideoSyncWidget::Resourcedir() const {
    return QString::fromStdString(control_->Resourcedir());
}

void KavoVideoSyncWidget::setResourcedir(const QString& value) {
    control_->Resourcedir(toStd(value));
}

QString KavoVideoSyncWidget::AsanaNaME() const {
    return QString::fromStdString(control_->AsanaNaME());
}

void KavoVideoSyncWidget::setAsanaNaME(const QString& value) {
    control_->AsanaNaME(toStd(value));
}

int KavoVideoSyncWidget::TotalRec() const {
    return control_->TotalRec();
}

void KavoVideoSyncWidget::setTotalRec(int value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        qWarning("KavoVideoSync: TotalRec %d is outside -32768..32767; kept %d", value, TotalRec());
        return;
    }
    control_->TotalRec(static_cast<std::int16_t>(value));
}

void KavoVideoSyncWidget::fileOpen() {
    callControl([this] { control_->fileOpen(); });
}

void KavoVideoSyncWidget::InitAudio() {
    callControl([this] { control_->InitAudio(); });
}

void KavoVideoSyncWidget::InitVideo() {
    callControl([this] { control_->InitVideo(); });
}

void KavoVideoSyncWidget::StopPlay() {
    callControl([this] { control_->StopPlay(); });
}

void KavoVideoSyncWidget::Preview() {
    callControl([this] { control_->Preview(); });
}

void KavoVideoSyncWidget::Pause() {
    callControl([this] { control_->Pause(); });
}

void KavoVideoSyncWidget::Start() {
    callControl([this] { control_->Start(); });
}

void KavoVideoSyncWidget::Ppreview() {
    callControl([this] { control_->Ppreview(); });
}

void KavoVideoSyncWidget::initProperties() {
    control_->InitProperties();
}

void KavoVideoSyncWidget::readProperties(host::PropertyBag& bag) {
    control_->ReadProperties(bag);
}

void KavoVideoSyncWidget::writeProperties(host::PropertyBag& bag) {
    control_->WriteProperties(bag);
}

void KavoVideoSyncWidget::readSettings(QSettings& settings, const QString& group) {
    qt::QSettingsPropertyBag bag(settings, group);
    readProperties(bag);
}

void KavoVideoSyncWidget::writeSettings(QSettings& settings, const QString& group) {
    qt::QSettingsPropertyBag bag(settings, group);
    writeProperties(bag);
}

// A direct C++ caller gets the failure; a signal of the host connected to this widget
// (sender() is set) has no caller to give it to.
template <typename Call>
void KavoVideoSyncWidget::callControl(Call call) {
    try {
        call();
    } catch (const Error& error) {
        if (!sender())
            throw;
        reportError(error);
    }
}

void KavoVideoSyncWidget::reportError(const Error& error) {
    if (isSignalConnected(QMetaMethod::fromSignal(&KavoVideoSyncWidget::controlError)))
        emit controlError(error.number(), QString::fromStdString(error.text()));
    else
        qt::presentMessage(qt::describeFailure(error));
}

// Queued invocations of the methods arrive here as events, inside Qt's event loop.
bool KavoVideoSyncWidget::event(QEvent* event) {
    try {
        return QWidget::event(event);
    } catch (const Error& error) {
        reportError(error);
        return true;
    }
}

void KavoVideoSyncWidget::propertyChanged(std::string_view name) {
    if (name == "Resourcedir")
        emit ResourcedirChanged();
    else if (name == "AsanaNaME")
        emit AsanaNaMEChanged();
    else if (name == "TotalRec")
        emit TotalRecChanged();
}

void KavoVideoSyncWidget::raiseEvent(std::string_view name) {
    if (name == "CurAudioNos")
        emit CurAudioNos();
    else if (name == "VideoEnd")
        emit VideoEnd();
}

}  // namespace tessaro
