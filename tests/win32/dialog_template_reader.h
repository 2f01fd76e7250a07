// Reads a compiled dialog template (DLGTEMPLATE or DLGTEMPLATEEX, as stored in a resource)
// into plain fields, so that tests can compare a template with what the program expects.
// Every read is bounds-checked: a truncated or malformed template gives an error, never a
// read past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace cluma::test {

// A name or an ordinal, as dialog templates store menus, classes and texts.
struct NameOrOrdinal {
    bool present = false; // false: the field held 0x0000 (no menu, default class, no text)
    bool is_ordinal = false;
    std::uint16_t ordinal = 0;
    std::u16string name;
};

struct DialogItem {
    std::uint32_t help_id = 0;
    std::uint32_t ex_style = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t id = 0; // 16 bits in a DLGTEMPLATE item, 32 in a DLGTEMPLATEEX item
    NameOrOrdinal window_class;
    NameOrOrdinal text;
    std::vector<std::uint8_t> creation_data;
};

struct DialogTemplate {
    bool extended = false;
    std::uint32_t help_id = 0;
    std::uint32_t ex_style = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal window_class;
    std::u16string caption;
    bool has_font = false;
    std::uint16_t point_size = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};

namespace detail {

constexpr std::uint32_t kDsSetFont = 0x40;     // DS_SETFONT (also part of DS_SHELLFONT)
constexpr std::uint16_t kExSignature = 0xFFFF; // DLGTEMPLATEEX marker

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Read(void* out, std::size_t n) {
        if (n > size_ - pos_) {
            return false;
        }
        std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    template <typename T> bool Read(T& out) { return Read(&out, sizeof out); }

    bool ReadString(std::u16string& out) {
        out.clear();
        for (;;) {
            std::uint16_t unit = 0;
            if (!Read(unit)) {
                return false; // no terminator before the end
            }
            if (unit == 0) {
                return true;
            }
            out.push_back(static_cast<char16_t>(unit));
        }
    }

    bool ReadNameOrOrdinal(NameOrOrdinal& out) {
        std::uint16_t first = 0;
        if (!Read(first)) {
            return false;
        }
        out = NameOrOrdinal{};
        if (first == 0) {
            return true;
        }
        out.present = true;
        if (first == 0xFFFF) {
            out.is_ordinal = true;
            return Read(out.ordinal);
        }
        pos_ -= sizeof first;
        return ReadString(out.name);
    }

    // Items start on 4-byte boundaries, counted from the template's start.
    bool AlignTo4() {
        std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
        if (aligned > size_) {
            return false;
        }
        pos_ = aligned;
        return true;
    }

    std::size_t Position() const { return pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

inline bool ReadItem(ByteReader& in, bool extended, DialogItem& item) {
    if (!in.AlignTo4()) {
        return false;
    }
    if (extended) {
        if (!in.Read(item.help_id) || !in.Read(item.ex_style) || !in.Read(item.style)) {
            return false;
        }
    } else if (!in.Read(item.style) || !in.Read(item.ex_style)) {
        return false;
    }
    if (!in.Read(item.x) || !in.Read(item.y) || !in.Read(item.cx) || !in.Read(item.cy)) {
        return false;
    }
    if (extended) {
        if (!in.Read(item.id)) {
            return false;
        }
    } else {
        std::uint16_t id16 = 0;
        if (!in.Read(id16)) {
            return false;
        }
        item.id = id16;
    }
    std::uint16_t extra = 0;
    if (!in.ReadNameOrOrdinal(item.window_class) || !in.ReadNameOrOrdinal(item.text) ||
        !in.Read(extra)) {
        return false;
    }
    // In a DLGTEMPLATE item the count includes its own two bytes.
    std::size_t data_size = extended ? extra : (extra >= 2 ? extra - 2u : 0u);
    item.creation_data.resize(data_size);
    return data_size == 0 || in.Read(item.creation_data.data(), data_size);
}

} // namespace detail

// Parses a template; on failure returns nothing and says why in *error.
inline std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size,
                                                         std::string* error) {
    auto fail = [error](const char* why) -> std::optional<DialogTemplate> {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    if (data == nullptr) {
        return fail("no template");
    }
    detail::ByteReader in(static_cast<const std::uint8_t*>(data), size);
    DialogTemplate t;
    std::uint16_t version = 0, signature = 0;
    if (!in.Read(version) || !in.Read(signature)) {
        return fail("truncated header");
    }
    t.extended = version == 1 && signature == detail::kExSignature;
    std::uint16_t count = 0;
    if (t.extended) {
        if (!in.Read(t.help_id) || !in.Read(t.ex_style) || !in.Read(t.style)) {
            return fail("truncated header");
        }
    } else {
        // DLGTEMPLATE: style then extended style; the four bytes just read are the style.
        t.style = static_cast<std::uint32_t>(version) | static_cast<std::uint32_t>(signature) << 16;
        if (!in.Read(t.ex_style)) {
            return fail("truncated header");
        }
    }
    if (!in.Read(count) || !in.Read(t.x) || !in.Read(t.y) || !in.Read(t.cx) || !in.Read(t.cy)) {
        return fail("truncated header");
    }
    if (!in.ReadNameOrOrdinal(t.menu) || !in.ReadNameOrOrdinal(t.window_class) ||
        !in.ReadString(t.caption)) {
        return fail("truncated menu, class or caption");
    }
    if ((t.style & detail::kDsSetFont) != 0) {
        t.has_font = true;
        if (!in.Read(t.point_size)) {
            return fail("truncated font");
        }
        if (t.extended && (!in.Read(t.weight) || !in.Read(t.italic) || !in.Read(t.charset))) {
            return fail("truncated font");
        }
        if (!in.ReadString(t.typeface)) {
            return fail("truncated font");
        }
    }
    t.items.resize(count);
    for (auto& item : t.items) {
        if (!detail::ReadItem(in, t.extended, item)) {
            return fail("truncated item");
        }
    }
    return t;
}

// The class an item names: its ordinal's predefined class, or its name as stored.
inline std::u16string ItemClassName(const NameOrOrdinal& c) {
    if (!c.is_ordinal) {
        return c.name;
    }
    switch (c.ordinal) {
    case 0x80:
        return u"Button";
    case 0x81:
        return u"Edit";
    case 0x82:
        return u"Static";
    case 0x83:
        return u"ListBox";
    case 0x84:
        return u"ScrollBar";
    case 0x85:
        return u"ComboBox";
    default: {
        std::u16string number;
        for (unsigned n = c.ordinal; n != 0 || number.empty(); n /= 10) {
            number.insert(number.begin(), static_cast<char16_t>(u'0' + n % 10));
        }
        return u"#" + number;
    }
    }
}

// Window class names compare without regard to ASCII case.
inline bool SameClassName(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace cluma::test
