// tiled_data.cpp -- a Tiled layer's tiles from their text: CSV, or base64 plain, zlib, gzip or zstd
#include "tiled.h"
#include <cctype>
#include <cstring>
#include <zlib.h>
#include <zstd.h>

// Base64 to bytes; whitespace between the characters is allowed (Tiled's
// XML puts the text on lines of its own). False on any other character or
// a length that is not a whole number of groups.
static bool from_base64(const std::string &text, std::vector<unsigned char> &bytes) {
    static const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    unsigned bits = 0;
    int held = 0, pad = 0, count = 0;
    for (unsigned char c : text) {
        if (isspace(c))
            continue;
        count++;
        if (c == '=') {
            pad++;
            continue;
        }
        const char *at = c ? strchr(ALPHABET, c) : nullptr;
        if (!at || pad > 0)
            return false;
        bits = bits << 6 | (unsigned)(at - ALPHABET);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back((unsigned char)(bits >> held));
        }
    }
    return count % 4 == 0 && pad <= 2;
}

// Inflates a zlib (`window_bits` 15) or gzip (15 + 16) stream into exactly `out.size()` bytes.
static bool inflate_exactly(const std::vector<unsigned char> &in, std::vector<unsigned char> &out, int window_bits) {
    z_stream s = {};
    if (inflateInit2(&s, window_bits) != Z_OK)
        return false;
    s.next_in = const_cast<unsigned char *>(in.data());
    s.avail_in = (uInt)in.size();
    s.next_out = out.data();
    s.avail_out = (uInt)out.size();
    int status = inflate(&s, Z_FINISH);
    bool whole = status == Z_STREAM_END && s.total_out == out.size();
    inflateEnd(&s);
    return whole;
}

static bool unzstd_exactly(const std::vector<unsigned char> &in, std::vector<unsigned char> &out) {
    size_t n = ZSTD_decompress(out.data(), out.size(), in.data(), in.size());
    return !ZSTD_isError(n) && n == out.size();
}

// Numbers separated by commas (and line ends), as Tiled writes CSV.
static bool from_csv(const std::string &text, size_t count, std::vector<uint32_t> &gids, std::string &why) {
    gids.reserve(count);
    const char *p = text.c_str();
    while (true) {
        while (isspace((unsigned char)*p))
            p++;
        if (!*p)
            break;
        if (!isdigit((unsigned char)*p)) {
            why = "the CSV data holds '" + std::string(p, strnlen(p, 12)) + "' where a tile number should be";
            return false;
        }
        unsigned long long v = 0;
        while (isdigit((unsigned char)*p) && v <= 0xFFFFFFFFull)
            v = v * 10 + (unsigned)(*p++ - '0');
        if (v > 0xFFFFFFFFull) {
            why = "the CSV data holds a tile number too large for Tiled";
            return false;
        }
        if (gids.size() == count) {
            why = "the CSV data holds more than the " + std::to_string(count) + " tiles of the layer";
            return false;
        }
        gids.push_back((uint32_t)v);
        while (isspace((unsigned char)*p))
            p++;
        if (*p == ',')
            p++;
        else if (*p) {
            why = "the CSV data holds '" + std::string(1, *p) + "' between two tile numbers";
            return false;
        }
    }
    if (gids.size() != count) {
        why = "the CSV data holds " + std::to_string(gids.size()) + " tiles, the layer " + std::to_string(count) +
              " (the file is cut short?)";
        return false;
    }
    return true;
}

bool decode_layer_data(const std::string &text, const std::string &encoding, const std::string &compression,
                       size_t count, std::vector<uint32_t> &gids, std::string &why) {
    gids.clear();
    if (encoding == "csv")
        return from_csv(text, count, gids, why);
    if (encoding != "base64") {
        why = "the data's encoding '" + encoding + "' is none Tiled writes (csv or base64)";
        return false;
    }
    std::vector<unsigned char> packed, bytes(count * 4);
    if (!from_base64(text, packed)) {
        why = "the base64 data is damaged";
        return false;
    }
    bool whole;
    if (compression.empty())
        whole = packed.size() == bytes.size() && (bytes = packed, true);
    else if (compression == "zlib" || compression == "gzip")
        whole = inflate_exactly(packed, bytes, compression == "zlib" ? 15 : 15 + 16);
    else if (compression == "zstd")
        whole = unzstd_exactly(packed, bytes);
    else {
        why = "the data's compression '" + compression + "' is none Tiled writes (zlib, gzip or zstd)";
        return false;
    }
    if (!whole) {
        why = "the " + (compression.empty() ? std::string("base64") : compression) +
              " data is damaged or does not hold the layer's " + std::to_string(count) + " tiles";
        return false;
    }
    gids.resize(count);
    for (size_t i = 0; i < count; i++) // little-endian, four bytes a tile
        gids[i] = bytes[i * 4] | bytes[i * 4 + 1] << 8 | bytes[i * 4 + 2] << 16 | (uint32_t)bytes[i * 4 + 3] << 24;
    return true;
}
