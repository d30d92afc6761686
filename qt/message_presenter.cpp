// SPDX-License-Identifier: MIT
#include <tessaro/message_presenter.h>

#include <QApplication>
#include <QMessageBox>
#include <mutex>

#include <tessaro/error.h>

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

}  // namespace tessaro::qt
