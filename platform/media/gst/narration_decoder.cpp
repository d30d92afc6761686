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

bool parsesOrDecodes(GstElement* element) {
    GstElementFactory* factory = gst_element_get_factory(element);
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
            plain = plain && parsesOrDecodes(element);
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

NarrationDecoder decodeNarration(const std::string& path, const std::string& kind) {
    if (const std::optional<Chain> chain = knownChains().find(kind)) {
        NarrationDecoder decoder = newDecoder();
        GstBin* bin = GST_BIN(decoder.pipeline.get());
        const Ends ends = addEnds(bin, path);
        addChain(bin, ends, *chain);
        try {
            decoder.bitRate = prerollTagged(decoder.pipeline.get(), path);
            decoder.pieces = GST_APP_SINK(ends.pieces);
            return decoder;
        } catch (const Error& error) {
            // A file of a known kind that the known chain cannot decode goes to decodebin,
            // which may find other elements for it.
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
    if (Chain chain = chainOf(decode); !chain.empty())
        knownChains().remember(kind, std::move(chain));
    return decoder;
}

void loadNarrationDecoders() {
    GstCaps* narration = gst_caps_from_string("audio/mpeg, mpegversion=(int)1");
    GList* decodable =
        gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODABLE, GST_RANK_PRIMARY);
    GList* fitting = gst_element_factory_list_filter(decodable, narration, GST_PAD_SINK, FALSE);
    if (GstElementFactory* decodebin = gst_element_factory_find("decodebin"))
        fitting = g_list_prepend(fitting, decodebin);
    for (GList* factory = fitting; factory; factory = factory->next) {
        if (GstPluginFeature* loaded = gst_plugin_feature_load(GST_PLUGIN_FEATURE(factory->data)))
            gst_object_unref(loaded);
    }
    gst_plugin_feature_list_free(fitting);
    gst_plugin_feature_list_free(decodable);
    gst_caps_unref(narration);
}

}  // namespace tessaro::media::gst
