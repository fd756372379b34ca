// datafile_bytes.h -- datafile streams built byte by byte, as the packfile layer hands them over
#pragma once
#include <cstring>
#include <initializer_list>
#include <vector>

typedef std::vector<unsigned char> Bytes;

inline void put32(Bytes &b, long v) {
    for (int s = 24; s >= 0; s -= 8)
        b.push_back((unsigned char)(v >> s));
}

// 16-bit numbers, big-endian, one after the other.
inline void put16s(Bytes &b, std::initializer_list<int> values) {
    for (int v : values) {
        b.push_back((unsigned char)(v >> 8));
        b.push_back((unsigned char)v);
    }
}

// An object with a NAME property: its type, its stored bytes, and its size
// unpacked (negative for an object packed on its own).
inline void put_object(Bytes &b, const char *name, long type, const Bytes &stored, long size) {
    b.insert(b.end(), {'p', 'r', 'o', 'p', 'N', 'A', 'M', 'E'});
    put32(b, (long)strlen(name));
    b.insert(b.end(), name, name + strlen(name));
    put32(b, type);
    put32(b, (long)stored.size());
    put32(b, size);
    b.insert(b.end(), stored.begin(), stored.end());
}

inline void put_named(Bytes &b, const char *name, long type, const Bytes &body) {
    put_object(b, name, type, body, (long)body.size());
}
