// The footer of the sheets (temple name, address, pictures) as the temple designed it:
// rectangular frames in layout units, each holding one line of text or one picture.
//
// The layout is kept the way it is stored: a flat list of text lines, ten per frame, field k
// of frame i being line 10 * i + k. FooterFrame is a convenience copy of one group of ten.
// The main window owns one FooterLayout for the whole run; the editor works on a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

enum class FooterField : std::size_t {
    Left = 0,
    Top = 1,
    Right = 2,
    Bottom = 3,
    FontHeight = 4, // 1/10000 of the layout width; empty until fitted
    Spacing = 5,    // 1/10000 of the layout height; empty until fitted
    FontFace = 6,   // never with a leading "@"
    Bold = 7,       // "B" or empty
    Kind = 8,       // one of the kind codes below
    Content = 9,    // the text, or the picture's full path
};
inline constexpr std::size_t kFooterFieldCount = 10;

// Kind codes, compared exactly.
inline constexpr std::u16string_view kFooterVertical = u"P";
inline constexpr std::u16string_view kFooterHorizontal = u"L";
inline constexpr std::u16string_view kFooterPictureFixed = u"F";   // keeps proportions
inline constexpr std::u16string_view kFooterPictureStretch = u"V"; // fills the frame
inline constexpr std::u16string_view kFooterUnreadable = u"Non";   // a stored mark; never written
inline constexpr std::u16string_view kFooterBold = u"B";

struct FooterFrame {
    std::u16string Left, Top, Right, Bottom, FontHeight, Spacing, FontFace, Bold, Kind, Content;

    std::u16string& operator[](FooterField field);
    const std::u16string& operator[](FooterField field) const;
    friend bool operator==(const FooterFrame&, const FooterFrame&) = default;
};

class FooterLayout {
public:
    FooterLayout() = default;
    // Takes whole groups of ten lines; an incomplete group at the end is dropped, so every
    // field keeps its place (only a hand-edited store can produce one).
    explicit FooterLayout(std::vector<std::u16string> lines);

    // Reads the stored form: lines end at CR LF, a lone CR or a lone LF; a break at the very
    // end makes no extra line; empty lines elsewhere are empty fields.
    static FooterLayout FromStored(std::u16string_view stored);
    // Every line followed by CR LF; the empty layout is the empty text.
    std::u16string ToStored() const;

    std::size_t FrameCount() const { return m_lines.size() / kFooterFieldCount; }
    bool Empty() const { return m_lines.empty(); }
    const std::vector<std::u16string>& Lines() const { return m_lines; }

    // frame < FrameCount().
    const std::u16string& Field(std::size_t frame, FooterField field) const;
    void SetField(std::size_t frame, FooterField field, std::u16string value);
    FooterFrame Frame(std::size_t frame) const;
    void SetFrame(std::size_t frame, const FooterFrame& value);
    void Append(const FooterFrame& frame);
    void Remove(std::size_t frame);
    void Clear() { m_lines.clear(); }

    friend bool operator==(const FooterLayout&, const FooterLayout&) = default;

private:
    std::vector<std::u16string> m_lines;
};

// A field of 0 to 5 as a number; nullopt when it does not read as a decimal integer.
std::optional<std::int32_t> FooterNumber(const FooterLayout& layout, std::size_t frame,
                                         FooterField field);

// The characters of a text: a surrogate pair is one character; a lone surrogate is one too.
std::vector<std::u16string_view> FooterCharacters(std::u16string_view text);
// Characters of a text drawn on a sheet (footer frames, titles, names) beyond which nothing
// is laid out: everything a one-page sheet holds is at most a few hundred characters, and a
// pasted or hand-edited text of megabytes must not hold the drawing up.
inline constexpr std::size_t kMaxDrawnTextCharacters = 4096;
// The first `count` characters of a text (as FooterCharacters counts them); the whole text
// when it is shorter.
std::u16string_view LeadingCharacters(std::u16string_view text, std::size_t count);
// The code point of one element of FooterCharacters (a lone surrogate gives itself).
char32_t FooterCodePoint(std::u16string_view character);

// Full-width characters (East Asian Wide and Fullwidth, and every character beyond the
// basic plane) take two units of horizontal text, all others one.
bool IsFullWidth(char32_t c);
int FooterUnitWidth(char32_t c);
// The total unit width of a text, as fitting and drawing count it.
std::int64_t FooterUnitWidth(std::u16string_view text);

// Editor pixels of a layout value along a side of `extent` pixels:
// Round(units / 10000 * extent), halves to even.
std::int64_t FooterUnitsToPixels(std::int32_t units, double extent);
// Layout units of an editor pixel position: Round(pixels / extent * 10000).
std::int32_t FooterPixelsToUnits(std::int64_t pixels, double extent);

// Rounding to the nearest integer, halves to the even neighbour; saturates at the int64
// range (NaN gives 0).
std::int64_t RoundHalfEven(double value);
// Drops the fraction; saturates at the int32 range (NaN gives 0).
std::int32_t TruncToInt32(double value);

// Recomputes FontHeight and Spacing of a text frame from its rectangle and text, for an
// editor drawing area of width x height pixels. Leaves the frame alone when a rectangle
// field is not a number, the text is empty, the area is empty, or (for two characters or
// more) the kind is neither vertical nor horizontal text.
void FitFooterText(FooterLayout& layout, std::size_t frame, int width, int height);

} // namespace ulvan
