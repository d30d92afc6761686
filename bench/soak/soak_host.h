// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <tessaro/kavo_video_sync.h>
#include "course/asana_list.h"

namespace tessaro::soak {

// What a phase's host saw, summed over its cycles.
struct Tally {
    int playbacksEnded = 0;
    int playbacksStopped = 0;
    int previews = 0;
    int lookups = 0;
    // Calls that failed although the course is whole, and playbacks that did not end.
    int failures = 0;
    // Message boxes: the control's and the media service's.
    int messages = 0;
};

// The host of one phase: a control, a way to let time pass with its timers firing, and
// a count of its VideoEnd events and message boxes.
class SoakHost {
  public:
    virtual ~SoakHost() = default;

    virtual KavoVideoSync& control() = 0;
    virtual const std::string& course() const = 0;
    virtual void pass(int ms) = 0;
    // Lets time pass until the condition holds, at most limitMs; returns the condition.
    virtual bool passUntil(const std::function<bool()>& condition, int limitMs) = 0;

    int videoEnds = 0;
    int messages = 0;
};

// How long a preview runs before it is stopped; a preview that ends first ends there.
struct CycleShape {
    int previewMs;
};

// One cycle over the course: lists its asanas; plays each, pauses, resumes and stops it;
// previews each; goes through them all by lookups without a stop between; plays one
// asana (the cycle number picks which) to its VideoEnd; looks up an asana the course
// lacks. Every playback and lookup ends with StopPlay.
void playCourseCycle(SoakHost& host, const CycleShape& shape, int cycle, Tally& tally);

}  // namespace tessaro::soak
