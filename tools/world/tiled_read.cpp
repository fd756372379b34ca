// tiled_read.cpp -- reading a map as Tiled saves it: TMX or JSON, its tilesets embedded or in their own files
#include "tiled.h"
#include "files.h"
#include "map.h"
#include <nlohmann/json.hpp>
#include <cstring>
#include <tinyxml2.h>

using nlohmann::json;

// The largest map or tileset file read: a 4096 x 4096 world's three layers
// in CSV, with room to spare.
static const long MAX_TILED_FILE_BYTES = 512L << 20;
// Group layers nested deeper than this are refused rather than followed.
static const int MAX_GROUP_DEPTH = 64;

static bool read_text(const std::string &file, std::string &text, std::string &why) {
    std::vector<unsigned char> bytes;
    char reason[256];
    if (!read_input_file(file.c_str(), MAX_TILED_FILE_BYTES, bytes, reason, sizeof reason)) {
        why = reason;
        return false;
    }
    text.assign(bytes.begin(), bytes.end());
    return true;
}

static bool ends_with(const std::string &s, const char *end) {
    size_t n = strlen(end);
    return s.size() >= n && s.compare(s.size() - n, n, end) == 0;
}

static bool is_json_file(const std::string &file) {
    return ends_with(file, ".tmj") || ends_with(file, ".tsj") || ends_with(file, ".json");
}

// `source` as the map names it, from the map's own folder.
static std::string beside(const std::string &map_file, const std::string &source) {
    size_t slash = map_file.rfind('/');
    if (source.empty() || source[0] == '/' || slash == std::string::npos)
        return source;
    return map_file.substr(0, slash + 1) + source;
}

// Which of the game's layers a layer name is: 0, 1, 2, or -1.
static int wanted_layer(const std::string &name) {
    for (int i = 0; i < 3; i++)
        if (name == TILED_LAYER_NAME[i])
            return i;
    return -1;
}

static bool map_size_ok(const TiledMap &map, std::string &why) {
    if (map.width >= 1 && map.height >= 1 && map.width <= MAX_LAYER_SIDE && map.height <= MAX_LAYER_SIDE)
        return true;
    why = "the map is " + std::to_string(map.width) + "x" + std::to_string(map.height) + " tiles; a world is 1x1 .. " +
          std::to_string(MAX_LAYER_SIDE) + "x" + std::to_string(MAX_LAYER_SIDE);
    return false;
}

// Every layer of the world has the map's size.
static bool layer_size_ok(const TiledMap &map, const TiledLayer &layer, std::string &why) {
    if (layer.width == map.width && layer.height == map.height)
        return true;
    why = "layer '" + layer.name + "' is " + std::to_string(layer.width) + "x" + std::to_string(layer.height) +
          " tiles, the map " + std::to_string(map.width) + "x" + std::to_string(map.height) +
          ": the layers must all be the map's size";
    return false;
}

static const char *const INFINITE = "an infinite map: the world needs edges (turn Infinite off in the map's properties)";

// --- TMX ------------------------------------------------------------------------

static bool xml_text(const std::string &text, tinyxml2::XMLDocument &doc, std::string &why) {
    if (doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS)
        return true;
    why = "damaged XML";
    if (doc.ErrorLineNum() > 0)
        why += " at line " + std::to_string(doc.ErrorLineNum());
    why += " (" + std::string(doc.ErrorName()) + ")";
    return false;
}

// The name of an external tileset, from its .tsx or .tsj.
static bool external_tileset_name(const std::string &file, std::string &name, std::string &why) {
    std::string text;
    if (!read_text(file, text, why))
        return false;
    if (is_json_file(file)) {
        json j = json::parse(text, nullptr, false);
        if (j.is_discarded() || !j.is_object() || !j.contains("name") || !j["name"].is_string()) {
            why = j.is_discarded() ? "damaged JSON" : "no tileset name in it";
            return false;
        }
        name = j["name"].get<std::string>();
        return true;
    }
    tinyxml2::XMLDocument doc;
    if (!xml_text(text, doc, why))
        return false;
    const tinyxml2::XMLElement *root = doc.RootElement();
    const char *n = root && strcmp(root->Name(), "tileset") == 0 ? root->Attribute("name") : nullptr;
    if (!n) {
        why = "not a Tiled tileset (no <tileset name=...>)";
        return false;
    }
    name = n;
    return true;
}

// Adds a tileset the map names, reading its own file when it has one.
static bool add_tileset(TiledMap &map, const std::string &map_file, double firstgid, const std::string &source,
                        const std::string &name, std::string &why) {
    if (!(firstgid >= 1 && firstgid <= 0x0FFFFFFF)) {
        why = "tileset '" + (source.empty() ? name : source) + "' has no valid firstgid";
        return false;
    }
    TiledTileset t = {(uint32_t)firstgid, name, source};
    if (!source.empty() && !external_tileset_name(beside(map_file, source), t.name, why)) {
        why = "tileset " + source + ": " + why;
        return false;
    }
    map.tilesets.push_back(t);
    return true;
}

// The tiles of a <data> element: CSV, base64, or one <tile gid=""/> each.
static bool xml_layer_data(const tinyxml2::XMLElement *data, TiledLayer &layer, std::string &why) {
    size_t count = (size_t)layer.width * layer.height;
    if (!data) {
        why = "no data";
        return false;
    }
    if (data->FirstChildElement("chunk")) {
        why = INFINITE;
        return false;
    }
    const char *encoding = data->Attribute("encoding");
    if (encoding) {
        const char *compression = data->Attribute("compression");
        const char *text = data->GetText();
        return decode_layer_data(text ? text : "", encoding, compression ? compression : "", count, layer.gids, why);
    }
    for (const tinyxml2::XMLElement *t = data->FirstChildElement("tile"); t; t = t->NextSiblingElement("tile")) {
        if (layer.gids.size() == count) {
            why = "more <tile> elements than the layer's " + std::to_string(count) + " tiles";
            return false;
        }
        layer.gids.push_back(t->UnsignedAttribute("gid", 0));
    }
    if (layer.gids.size() != count) {
        why = std::to_string(layer.gids.size()) + " <tile> elements, the layer has " + std::to_string(count) + " tiles";
        return false;
    }
    return true;
}

// Tile layers, groups and the rest, in the order of the file.
static bool xml_layers(TiledMap &map, const tinyxml2::XMLElement *parent, int depth, std::string &why) {
    if (depth > MAX_GROUP_DEPTH) {
        why = "group layers nested more than " + std::to_string(MAX_GROUP_DEPTH) + " deep";
        return false;
    }
    for (const tinyxml2::XMLElement *e = parent->FirstChildElement(); e; e = e->NextSiblingElement()) {
        std::string kind = e->Name(), name = e->Attribute("name") ? e->Attribute("name") : "";
        if (kind == "group") {
            if (!xml_layers(map, e, depth + 1, why))
                return false;
            continue;
        }
        if (kind != "layer" && kind != "objectgroup" && kind != "imagelayer")
            continue;
        if (kind != "layer" || wanted_layer(name) < 0) {
            map.ignored.push_back(name);
            continue;
        }
        TiledLayer layer;
        layer.name = name;
        layer.width = e->IntAttribute("width", -1);
        layer.height = e->IntAttribute("height", -1);
        if (!layer_size_ok(map, layer, why))
            return false;
        if (!xml_layer_data(e->FirstChildElement("data"), layer, why)) {
            why = "layer '" + name + "': " + why;
            return false;
        }
        map.layers.push_back(std::move(layer));
    }
    return true;
}

static bool read_tmx(const std::string &file, const std::string &text, TiledMap &map, std::string &why) {
    tinyxml2::XMLDocument doc;
    if (!xml_text(text, doc, why))
        return false;
    const tinyxml2::XMLElement *root = doc.RootElement();
    if (!root || strcmp(root->Name(), "map") != 0) {
        why = "not a Tiled map (no <map> element)";
        return false;
    }
    if (root->IntAttribute("infinite", 0) != 0) {
        why = INFINITE;
        return false;
    }
    map.width = root->IntAttribute("width", -1);
    map.height = root->IntAttribute("height", -1);
    if (!map_size_ok(map, why))
        return false;
    for (const tinyxml2::XMLElement *t = root->FirstChildElement("tileset"); t; t = t->NextSiblingElement("tileset")) {
        const char *source = t->Attribute("source"), *name = t->Attribute("name");
        if (!add_tileset(map, file, t->DoubleAttribute("firstgid", 0), source ? source : "", name ? name : "", why))
            return false;
    }
    return xml_layers(map, root, 0, why);
}

// --- JSON -----------------------------------------------------------------------

// A size from the JSON: a whole number in int's range, else -1 (which no size check passes).
static int json_size(const json &j) {
    if (!j.is_number_integer())
        return -1;
    long long v = j.get<long long>();
    return v >= 0 && v <= 1 << 30 ? (int)v : -1;
}

static bool json_layer_data(const json &l, TiledLayer &layer, std::string &why) {
    size_t count = (size_t)layer.width * layer.height;
    const json &data = l.at("data");
    if (data.is_string())
        return decode_layer_data(data.get<std::string>(), l.value("encoding", "csv"), l.value("compression", ""), count,
                                 layer.gids, why);
    if (!data.is_array() || data.size() != count) {
        why = "the data holds " + std::to_string(data.is_array() ? data.size() : 0) + " tiles, the layer " +
              std::to_string(count);
        return false;
    }
    layer.gids.reserve(count);
    for (const json &g : data) {
        if (!g.is_number_unsigned() || g.get<uint64_t>() > 0xFFFFFFFFull) {
            why = "the data holds " + g.dump() + " where a tile number should be";
            return false;
        }
        layer.gids.push_back((uint32_t)g.get<uint64_t>());
    }
    return true;
}

static bool json_layers(TiledMap &map, const json &layers, int depth, std::string &why) {
    if (depth > MAX_GROUP_DEPTH) {
        why = "group layers nested more than " + std::to_string(MAX_GROUP_DEPTH) + " deep";
        return false;
    }
    for (const json &l : layers) {
        std::string type = l.at("type").get<std::string>(), name = l.value("name", "");
        if (type == "group") {
            if (!json_layers(map, l.at("layers"), depth + 1, why))
                return false;
            continue;
        }
        if (type != "tilelayer" || wanted_layer(name) < 0) {
            map.ignored.push_back(name);
            continue;
        }
        if (l.contains("chunks")) {
            why = INFINITE;
            return false;
        }
        TiledLayer layer;
        layer.name = name;
        layer.width = json_size(l.at("width"));
        layer.height = json_size(l.at("height"));
        if (!layer_size_ok(map, layer, why))
            return false;
        if (!json_layer_data(l, layer, why)) {
            why = "layer '" + name + "': " + why;
            return false;
        }
        map.layers.push_back(std::move(layer));
    }
    return true;
}

static bool read_tmj(const std::string &file, const std::string &text, TiledMap &map, std::string &why) {
    json j = json::parse(text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        why = j.is_discarded() ? "damaged JSON" : "not a Tiled map (no JSON object)";
        return false;
    }
    try {
        if (j.value("infinite", false)) {
            why = INFINITE;
            return false;
        }
        map.width = json_size(j.at("width"));
        map.height = json_size(j.at("height"));
        if (!map_size_ok(map, why))
            return false;
        for (const json &t : j.value("tilesets", json::array()))
            if (!add_tileset(map, file, t.at("firstgid").get<double>(), t.value("source", ""), t.value("name", ""), why))
                return false;
        return json_layers(map, j.at("layers"), 0, why);
    } catch (const json::exception &e) {
        // A field missing or of the wrong type: the library's words, without its tag.
        std::string what = e.what();
        size_t tag = what.find("] ");
        why = "not a Tiled map as expected: " + (tag == std::string::npos ? what : what.substr(tag + 2));
        return false;
    }
}

bool read_tiled_map(const std::string &file, TiledMap &map, std::string &why) {
    std::string text;
    if (!read_text(file, text, why))
        return false;
    return is_json_file(file) ? read_tmj(file, text, map, why) : read_tmx(file, text, map, why);
}
