#include "platform/qt/message_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <mutex>

#include "platform/media/gst/gst_backend.h"
#include "platform/values/error.h"

namespace tessaro::qt {
namespace {

std::mutex& presenterMutex() {
    static std::mutex mutex;
    return mutex;
}

MessagePresenter& installedPresenter() {
    static MessagePresenter presenter;
    return presenter;
}

void showMessageBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace

void setMessagePresenter(MessagePresenter presenter) {
    std::lock_guard lock(presenterMutex());
    installedPresenter() = std::move(presenter);
}

void presentMessage(const std::string& text) {
    MessagePresenter presenter;
    {
        std::lock_guard lock(presenterMutex());
        presenter = installedPresenter();
    }
    if (presenter)
        presenter(text);
    else
        showMessageBox(text);
}

std::string describeFailure(const std::exception& failure) {
    if (const auto* error = dynamic_cast<const Error*>(&failure))
        return "Run-time error '" + std::to_string(error->number()) + "':\n\n" + error->text();
    return failure.what();
}

void installMediaErrorReporter() {
    static std::once_flag installed;
    std::call_once(installed, [] { media::processMediaService().setErrorReporter(presentMessage); });
}

}  // namespace tessaro::qt
