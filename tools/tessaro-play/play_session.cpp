// SPDX-License-Identifier: MIT
#include "tools/tessaro-play/play_session.h"
#include "control/kavo_video_sync_fields.h"

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include <tessaro/catalogue.h>
#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/message_presenter.h>

#include "course/asana_list.h"
#include "tools/tessaro-play/event_line.h"

namespace tessaro::play {
namespace {

const std::string NotFoundPrefix = "Asana not found - ";

// Generous: narration clips of the sample course last a few seconds each, and a hold can
// add the length of one clip.
double defaultTimeoutSeconds(const PlayOptions& options) {
    std::int64_t clips = 0;
    try {
        for (const auto& entry :
             course::listAsanas(catalogue::processEngine(), options.resourceDir)) {
            if (entry.name == options.asana)
                clips = entry.clips;
        }
    } catch (const Error&) {
        // The control reports an unreadable catalogue itself.
    }
    return std::min((60.0 + 30.0 * static_cast<double>(clips)) * options.times, MaxTimeoutSeconds);
}

class PlaySession {
  public:
    explicit PlaySession(const PlayOptions& options)
        : options_(options), showProgress_(!options.json && ::isatty(STDOUT_FILENO)) {}

    int run() {
        qt::setMessagePresenter([this](const std::string& text) { presentMessage(text); });
        KavoVideoSyncWidget widget;
        if (options_.window)
            widget.show();
        widget.setResourcedir(QString::fromStdString(options_.resourceDir));
        widget.setAsanaNaME(QString::fromStdString(options_.asana));
        QObject::connect(&widget, &KavoVideoSyncWidget::CurAudioNos,
                         [&] { report(widget, "CurAudioNos"); });
        QObject::connect(&widget, &KavoVideoSyncWidget::VideoEnd, [&] {
            report(widget, "VideoEnd");
            if (++played_ < options_.times)
                QTimer::singleShot(0, [&] {
                    if (const int code = start(widget); code >= 0)
                        finish(code);
                });
            else
                finish(ExitEnded);
        });

        const double timeout = options_.timeoutSeconds.value_or(defaultTimeoutSeconds(options_));
        clock_.start();
        QTimer::singleShot(static_cast<int>(timeout * 1000), [this, timeout] {
            clearProgress();
            std::cerr << "tessaro-play: no VideoEnd within " << timeout << " s\n";
            finish(ExitTimedOut);
        });
        QTimer progress;
        if (showProgress_) {
            QObject::connect(&progress, &QTimer::timeout, [&] { printProgress(widget); });
            progress.start(100);
        }

        int code = start(widget);
        if (code < 0)
            code = QApplication::exec();
        progress.stop();
        clearProgress();
        widget.StopPlay();
        qt::setMessagePresenter({});
        return code;
    }

  private:
    // Returns an exit code when the run is already over, -1 when the event loop must run.
    int start(KavoVideoSyncWidget& widget) {
        try {
            switch (options_.mode) {
                case PlayMode::Preview:
                    widget.Preview();
                    break;
                case PlayMode::PicturePreview:
                    widget.Ppreview();
                    break;
                default:
                    widget.fileOpen();
                    break;
            }
        } catch (const Error& error) {
            std::cerr << "tessaro-play: error " << error.number() << ": " << error.text() << "\n";
            return ExitFailed;
        }
        if (notFound_)
            return ExitAsanaNotFound;
        return exitCode_;
    }

    void presentMessage(const std::string& text) {
        clearProgress();
        std::cerr << "tessaro-play: " << text << "\n";
        if (text.rfind(NotFoundPrefix, 0) == 0)
            notFound_ = true;
    }

    void report(const KavoVideoSyncWidget& widget, const char* event) {
        const auto& state = widget.control().state();
        const EventReport line{clock_.elapsed() / 1000.0, event, state.TotalRec, state.AudioNo,
                               state.VideoMode == True};
        clearProgress();
        std::cout << (options_.json ? formatEventJson(line) : formatEventLine(line)) << std::endl;
    }

    void printProgress(const KavoVideoSyncWidget& widget) {
        const auto& state = widget.control().state();
        std::printf("\r%8.1f s  playing %s  (TotalRec %d)", clock_.elapsed() / 1000.0,
                    options_.asana.c_str(), state.TotalRec);
        std::fflush(stdout);
        progressShown_ = true;
    }

    void clearProgress() {
        if (!progressShown_)
            return;
        std::printf("\r\033[K");
        std::fflush(stdout);
        progressShown_ = false;
    }

    // Ends the run once; a VideoEnd raised inside the starting call is kept for start().
    void finish(int code) {
        if (exitCode_ >= 0)
            return;
        exitCode_ = code;
        QApplication::exit(code);
    }

    const PlayOptions& options_;
    const bool showProgress_;
    QElapsedTimer clock_;
    bool notFound_ = false;
    bool progressShown_ = false;
    int exitCode_ = -1;
    int played_ = 0;
};

}  // namespace

int runPlaySession(const PlayOptions& options) {
    return PlaySession(options).run();
}

}  // namespace tessaro::play
