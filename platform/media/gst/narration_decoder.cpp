// SPDX-License-Identifier: MIT
#include "platform/media/gst/narration_decoder.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "platform/media/gst/audio_output.h"

namespace tessaro::media::gst {
namespace {

// Decoded pieces kept ready: a narration piece holds 26 ms, so 400 hold 10 s (1.8 MB). A
// clip of usual length is decoded whole, in one run, as soon as it is opened; a decoder
// kept only a few pieces ahead would wake for every piece the output takes.
constexpr guint DecodedAhead = 400;

// What narrations are: MPEG-1 audio (layer II), possibly other layers.
constexpr const char* narrationCaps = "audio/mpeg, mpegversion=(int)1";

using Chain = std::vector<std::string>;

// The parser and decoder that decodebin chose for the first file of each kind. A chain
// built from them directly is ready several times sooner than decodebin, which finds
// its elements anew for every file, and the handover from one clip to the next waits
// for the next clip's decoder.
class KnownChains {
  public:
    std::optional<Chain> find(const std::string& kind) {
        std::lock_guard lock(mutex_);
        const auto found = chains_.find(kind);
        return found == chains_.end() ? std::nullopt : std::optional<Chain>(found->second);
    }
    void remember(const std::string& kind, Chain chain) {
        std::lock_guard lock(mutex_);
        chains_[kind] = std::move(chain);
    }

  private:
    std::mutex mutex_;
    std::map<std::string, Chain> chains_;
};

KnownChains& knownChains() {
    static KnownChains chains;
    return chains;
}

// The common ends of a decoder: the file, and the conversion into the output's pieces.
struct Ends {
    GstElement* source;
    GstElement* convert;
    GstElement* pieces;
};

// One element at a time: the bin owns each as soon as it is added, should the next throw.
GstElement* addElement(GstBin* bin, const char* factory) {
    GstElement* element = makeElement(factory);
    gst_bin_add(bin, element);
    return element;
}

Ends addEnds(GstBin* bin, const std::string& path) {
    Ends ends{};
    ends.source = addElement(bin, "filesrc");
    g_object_set(ends.source, "location", path.c_str(), nullptr);
    ends.convert = addElement(bin, "audioconvert");
    GstElement* resample = addElement(bin, "audioresample");
    ends.pieces = addElement(bin, "appsink");
    GstCaps* caps = AudioOutput::pieceCaps();
    g_object_set(ends.pieces, "caps", caps, "sync", FALSE, "max-buffers", DecodedAhead,
                 "enable-last-sample", FALSE, nullptr);
    gst_caps_unref(caps);
    gst_element_link_many(ends.convert, resample, ends.pieces, nullptr);
    return ends;
}

// Links decodebin's sound pad, once it has one, to the conversion.
void linkSound(GstElement*, GstPad* pad, gpointer convert) {
    GstPad* sink = gst_element_get_static_pad(GST_ELEMENT(convert), "sink");
    if (!gst_pad_is_linked(sink))
        gst_pad_link(pad, sink);
    gst_object_unref(sink);
}

GstElement* addDecodebin(GstBin* bin, const Ends& ends) {
    GstElement* decode = addElement(bin, "decodebin");
    gst_element_link(ends.source, decode);
    g_signal_connect(decode, "pad-added", G_CALLBACK(linkSound), ends.convert);
    return decode;
}

void addChain(GstBin* bin, const Ends& ends, const Chain& chain) {
    GstElement* upstream = ends.source;
    for (const std::string& factory : chain) {
        GstElement* element = addElement(bin, factory.c_str());
        gst_element_link(upstream, element);
        upstream = element;
    }
    gst_element_link(upstream, ends.convert);
}

bool parsesOrDecodes(GstElementFactory* factory) {
    const char* klass =
        factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : "";
    const std::string_view kinds = klass ? klass : "";
    return kinds.find("Parser") != kinds.npos || kinds.find("Decoder") != kinds.npos;
}

// What decodebin plugged after its typefinder, upstream first; empty when it is more than
// a line of parsers and decoders.
Chain chainOf(GstElement* decode) {
    Chain chain;
    bool plain = true;
    GstIterator* elements = gst_bin_iterate_sorted(GST_BIN(decode));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
        GstElement* element = GST_ELEMENT(g_value_get_object(&item));
        GstElementFactory* factory = gst_element_get_factory(element);
        const std::string name = factory ? GST_OBJECT_NAME(factory) : "";
        if (name != "typefind") {
            plain = plain && factory && parsesOrDecodes(factory);
            chain.push_back(name);
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(elements);
    if (!plain)
        return {};
    // Sorted from the sinks up.
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// The longest line of parsers and decoders a narration goes through.
constexpr std::size_t longestChain = 4;

bool isRawAudio(const GstCaps* caps) {
    return gst_caps_get_size(caps) > 0 &&
           gst_structure_has_name(gst_caps_get_structure(caps, 0), "audio/x-raw");
}

GstCaps* sourceCapsOf(GstElementFactory* factory) {
    for (const GList* pad = gst_element_factory_get_static_pad_templates(factory); pad;
         pad = pad->next) {
        auto* padTemplate = static_cast<GstStaticPadTemplate*>(pad->data);
        if (padTemplate->direction == GST_PAD_SRC)
            return gst_static_pad_template_get_caps(padTemplate);
    }
    return gst_caps_new_empty();
}

// The parsers and decoders that turn `caps` into raw sound, each the highest ranked that
// takes what the one before gives, as decodebin picks them; empty when that takes more
// than a line of them (a demuxer, a tag reader).
Chain chainFor(const GstCaps* caps) {
    GList* decodable = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODABLE,
                                                             GST_RANK_MARGINAL);
    decodable = g_list_sort(decodable, gst_plugin_feature_rank_compare_func);
    Chain chain;
    GstCaps* given = gst_caps_copy(caps);
    while (!isRawAudio(given) && chain.size() < longestChain) {
        GList* fitting = gst_element_factory_list_filter(decodable, given, GST_PAD_SINK, FALSE);
        GstElementFactory* next = nullptr;
        for (GList* factory = fitting; factory && !next; factory = factory->next) {
            auto* candidate = GST_ELEMENT_FACTORY(factory->data);
            const std::string name = GST_OBJECT_NAME(candidate);
            if (parsesOrDecodes(candidate) &&
                std::find(chain.begin(), chain.end(), name) == chain.end())
                next = candidate;
        }
        gst_caps_unref(given);
        given = next ? sourceCapsOf(next) : gst_caps_new_empty();
        if (next)
            chain.push_back(GST_OBJECT_NAME(next));
        gst_plugin_feature_list_free(fitting);
        if (!next)
            break;
    }
    if (!isRawAudio(given))
        chain.clear();
    gst_caps_unref(given);
    gst_plugin_feature_list_free(decodable);
    return chain;
}

Chain chainFor(const std::string& kind) {
    GstCaps* caps = gst_caps_from_string(kind.c_str());
    if (!caps)
        return {};
    Chain chain = chainFor(caps);
    gst_caps_unref(caps);
    return chain;
}

// Prerolls the decoder, taking the stream's bit rate from the tags its parser posts.
unsigned prerollTagged(GstElement* pipeline, const std::string& path) {
    unsigned bitRate = 0;
    preroll(pipeline, path, [&bitRate](GstMessage* message) {
        if (GST_MESSAGE_TYPE(message) != GST_MESSAGE_TAG)
            return;
        GstTagList* tags = nullptr;
        gst_message_parse_tag(message, &tags);
        bitRate = std::max(bitRate, bitRateOf(tags));
        gst_tag_list_unref(tags);
    });
    return bitRate;
}

NarrationDecoder newDecoder() {
    NarrationDecoder decoder;
    decoder.pipeline.reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new("narration"))));
    return decoder;
}

}  // namespace

// A chain known for the kind, else one found for it in the registry, is ready several times
// sooner than decodebin; a file that it cannot decode goes to decodebin, which may find
// other elements for it.
NarrationDecoder decodeNarration(const std::string& path, const std::string& kind) {
    std::optional<Chain> chain = knownChains().find(kind);
    const bool known = chain.has_value();
    if (!known)
        chain = chainFor(kind);
    if (!chain->empty()) {
        NarrationDecoder decoder = newDecoder();
        GstBin* bin = GST_BIN(decoder.pipeline.get());
        const Ends ends = addEnds(bin, path);
        addChain(bin, ends, *chain);
        try {
            decoder.bitRate = prerollTagged(decoder.pipeline.get(), path);
            decoder.pieces = GST_APP_SINK(ends.pieces);
            if (!known)
                knownChains().remember(kind, std::move(*chain));
            return decoder;
        } catch (const Error& error) {
            if (error.number() != static_cast<int>(errors::InvalidFile))
                throw;
        }
    }
    NarrationDecoder decoder = newDecoder();
    GstBin* bin = GST_BIN(decoder.pipeline.get());
    const Ends ends = addEnds(bin, path);
    GstElement* decode = addDecodebin(bin, ends);
    decoder.bitRate = prerollTagged(decoder.pipeline.get(), path);
    decoder.pieces = GST_APP_SINK(ends.pieces);
    if (Chain found = chainOf(decode); !found.empty())
        knownChains().remember(kind, std::move(found));
    return decoder;
}

void prepareNarrationDecoders() {
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        GstCaps* narration = gst_caps_from_string(narrationCaps);
        Chain chain = chainFor(narration);
        gst_caps_unref(narration);
        for (const char* end : {"filesrc", "audioconvert", "audioresample", "appsink", "decodebin"})
            chain.emplace_back(end);
        for (const std::string& factory : chain) {
            if (GstElement* element = gst_element_factory_make(factory.c_str(), nullptr))
                gst_object_unref(gst_object_ref_sink(element));
        }
    });
}

}  // namespace tessaro::media::gst
