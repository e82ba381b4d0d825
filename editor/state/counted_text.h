// Counted texts: every text the editor holds has a fixed maximum length.
// Longer input is cut at the maximum, never refused, so a value read from an
// object file, a settings file or a text field always fits where it is stored.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace tessvane {

// Maximum lengths used throughout the editor.
inline constexpr std::size_t kMaxPathText = 255;        // paths and directories
inline constexpr std::size_t kMaxNameText = 32;         // file names and part names
inline constexpr std::size_t kMaxDescriptionText = 18;  // texture descriptions
inline constexpr std::size_t kMaxSuffixText = 20;       // file name suffixes
inline constexpr std::size_t kMaxChunkNameText = 18;    // name fields inside object files

// The first `max` characters of `text`.
inline std::string_view CutText(std::string_view text, std::size_t max) {
    return text.substr(0, text.size() < max ? text.size() : max);
}

// Maps only 'a'..'z' to 'A'..'Z'; every other byte (accented letters included)
// is left as it is, matching how the files of the other machines are compared.
inline char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCase(std::string_view text);

// Equal character by character after upper-casing both texts.
bool EqualUpper(std::string_view a, std::string_view b);

// Compares the upper-cased texts by character code (as unsigned bytes):
// negative, zero or positive like std::string_view::compare.
int CompareUpper(std::string_view a, std::string_view b);

// A text of at most Max characters. Assigning a longer text keeps its first Max
// characters. Converts to std::string_view, so it can be passed wherever a text
// is read.
template <std::size_t Max>
class CountedText {
  public:
    static constexpr std::size_t kMax = Max;

    CountedText() = default;
    CountedText(const char* text)
        : text_(CutText(text ? std::string_view(text) : std::string_view(), Max)) {}
    CountedText(std::string_view text) : text_(CutText(text, Max)) {}
    CountedText(const std::string& text) : text_(CutText(text, Max)) {}
    template <std::size_t Other>
    CountedText(const CountedText<Other>& other) : text_(CutText(other.view(), Max)) {}

    const std::string& str() const { return text_; }
    std::string_view view() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    operator std::string_view() const { return text_; }

    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }
    char back() const { return text_.back(); }
    char operator[](std::size_t i) const { return text_[i]; }
    void clear() { text_.clear(); }

  private:
    std::string text_;
};

// Exact comparison, letter case included.
template <std::size_t A, std::size_t B>
bool operator==(const CountedText<A>& a, const CountedText<B>& b) {
    return a.view() == b.view();
}
template <std::size_t A>
bool operator==(const CountedText<A>& a, std::string_view b) {
    return a.view() == b;
}

template <std::size_t Max>
std::ostream& operator<<(std::ostream& os, const CountedText<Max>& t) {
    return os << t.view();
}

using PathText = CountedText<kMaxPathText>;
// A text with no maximum, for the few places where cutting would name
// another file (the program's own directory).
using FullText = CountedText<std::string::npos>;
using NameText = CountedText<kMaxNameText>;
using DescriptionText = CountedText<kMaxDescriptionText>;
using SuffixText = CountedText<kMaxSuffixText>;
using ChunkNameText = CountedText<kMaxChunkNameText>;

}  // namespace tessvane
