// The document report as paragraphs of formatted runs, composed the way the report has always been
// built in a word processor: by appending blocks at the end of the document.
//
// A block is the text, pictures and paragraph breaks appended since the last collapse. A character
// format set after them applies to every character of the block, an alignment to every paragraph the
// block touches (including the one it started in). Text appended later takes the format of the text
// before it, and a new paragraph the alignment of the one before it, so whatever a block does not set
// is carried over: the decree block stays blue after the blue heading, and bold stays on from the
// heading until the last step turns it off.
#pragma once

#include "report/document_model.h"
#include "report/input.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// The step badge of step 1 to 9: a digit in a black circle.
std::string stepBadge(int step);

// Appends blocks at the end of a document that starts as one empty paragraph in the defaults.
class Composer {
public:
    Composer();

    Composer &text(std::string_view utf8);
    Composer &picture();
    Composer &paragraph(); // a paragraph break
    Composer &font(std::string_view name);
    Composer &size(int points);
    Composer &bold(bool on);
    Composer &italic(bool on);
    Composer &blue();
    Composer &align(Alignment alignment);
    void collapse(); // ends the block: what follows starts a new one

    Document document() const;

private:
    enum class AtomType { Text, Picture, Break };
    struct Atom {
        AtomType type;
        std::string text;
        CharFormat format;
    };

    template<typename Change>
    Composer &setFormat(Change change);
    Composer &append(AtomType type, std::string_view text);

    std::vector<Atom> m_atoms;
    std::vector<Alignment> m_alignments; // one per paragraph, the last being the one being written
    CharFormat m_carried;                // the format that the next appended text takes
    std::size_t m_blockAtom = 0;
    std::size_t m_blockParagraph = 0;
};

// The report's content in the foreign or the standard variant.
Document composeReport(const ReportInput &input);

// The document report as RTF, which word processors open under the name "str.doc". pngBytes is the
// picture at the top, a PNG file's bytes; without a PNG the document starts with an empty paragraph.
std::string documentRtf(const ReportInput &input, const std::string &pngBytes);

} // namespace report
