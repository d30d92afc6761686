// SPDX-License-Identifier: MIT
// The widget on the process's own services: catalogue engine, GStreamer media service
// and the library's folder.
#include <mutex>

#include <tessaro/catalogue.h>
#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/message_presenter.h>
#include <tessaro/module_folder.h>
#include "platform/media/gst/gst_backend.h"

namespace tessaro {
namespace qt {

void installMediaErrorReporter() {
    static std::once_flag installed;
    std::call_once(installed,
                   [] { media::processMediaService().setErrorReporter(presentMessage); });
}

}  // namespace qt

namespace {

KavoVideoSyncWidget::Services processServices() {
    qt::installMediaErrorReporter();
    return {catalogue::processEngine(), media::processMediaService(), host::libraryModuleFolder()};
}

}  // namespace

KavoVideoSyncWidget::KavoVideoSyncWidget(QWidget* parent)
    : KavoVideoSyncWidget(processServices(), parent) {}

}  // namespace tessaro
