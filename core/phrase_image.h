#pragma once

// The layout of a phrase converter's image: a header, a table of sections, then the sections
// (each 8-byte aligned), written by ImageWriter and read back by ImageReader; fromImage
// (phrase_image.cpp) checks every table once when an image is opened.

#include "phrase_tables.h"

#include <optional>
#include <utility>

namespace core {
namespace phrase {

constexpr char kMagic[8] = {'L', 'F', 'P', 'H', 'R', 'S', 'E', '1'};
constexpr std::uint32_t kVersion = 9;
constexpr std::uint32_t kTrieStep = 0, kCharStep = 1, kTrieThenCharStep = 2;
constexpr std::uint32_t kByteOrder = 0x01020304;

struct Header {
    char magic[8];
    std::uint32_t version, byteOrder, sectionCount, segMaxBytes;
    std::uint32_t pure, stepCount, lineLocal, reserved;
};
struct Section {
    std::uint64_t offset, size;
};

class ImageWriter {
public:
    template <class T> void add(const std::vector<T> &v) {
        m_parts.emplace_back(v.data(), v.size() * sizeof(T));
    }
    void add(const std::string &s) { m_parts.emplace_back(s.data(), s.size()); }

    std::string finish(Header h) {
        h.sectionCount = static_cast<std::uint32_t>(m_parts.size());
        std::vector<Section> sections;
        std::uint64_t at = align(sizeof(Header) + m_parts.size() * sizeof(Section));
        for (const auto &[data, size] : m_parts) {
            sections.push_back({at, size});
            at = align(at + size);
        }
        std::string out(at, '\0');
        std::memcpy(out.data(), &h, sizeof h);
        std::memcpy(out.data() + sizeof h, sections.data(), sections.size() * sizeof(Section));
        for (std::size_t i = 0; i < m_parts.size(); ++i)
            if (m_parts[i].second)
                std::memcpy(out.data() + sections[i].offset, m_parts[i].first, m_parts[i].second);
        return out;
    }

private:
    static std::uint64_t align(std::uint64_t n) { return (n + 7) & ~std::uint64_t(7); }
    std::vector<std::pair<const void *, std::size_t>> m_parts;
};

class ImageReader {
public:
    ImageReader(std::string_view image, std::span<const Section> sections)
        : m_image(image), m_sections(sections) {}
    // The next section as an array of T; nullopt when it lies outside the image or is misshapen.
    template <class T> std::optional<std::span<const T>> next(std::size_t expectCount = kNone) {
        if (m_next >= m_sections.size())
            return std::nullopt;
        const Section s = m_sections[m_next++];
        if (s.offset % 8 || s.size % sizeof(T) || s.offset > m_image.size() ||
            s.size > m_image.size() - s.offset)
            return std::nullopt;
        if (expectCount != kNone && s.size / sizeof(T) != expectCount)
            return std::nullopt;
        return std::span<const T>(reinterpret_cast<const T *>(m_image.data() + s.offset), s.size / sizeof(T));
    }
    bool allRead() const { return m_next == m_sections.size(); }

private:
    std::string_view m_image;
    std::span<const Section> m_sections;
    std::size_t m_next = 0;
};

} // namespace phrase
} // namespace core
