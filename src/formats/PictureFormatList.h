#pragma once
// The toolkit's list of picture formats: entries in registration order, each an
// extension (lower case, no dot), a description and the class that reads it.
// The picture loader searches it newest first and the open dialog's filter is
// built from it. Entries refer to classes, which outlive the list.
#include "formats/PictureClass.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

class PictureFormatList {
public:
    struct Entry {
        std::string Extension;
        std::string Description;
        int DescriptionResource = 0; // 0: the description is given as text
        const PictureClass* Class = nullptr;
    };

    void Add(std::string_view extension, std::string_view description, const PictureClass& pictureClass);
    // Removes every entry of the class and of the classes derived from it.
    void RemoveClass(const PictureClass& pictureClass);

    // The class of the newest entry with this extension (compared in lower
    // case), or nullptr.
    const PictureClass* FindByExtension(std::string_view extension) const;

    // The open dialog's filter: "All (patterns)|patterns|" followed by one
    // "description (*.ext)|*.ext" per entry, newest first.
    std::string BuildFilter() const;

    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};

// One choice of a filter: its text and its patterns ("*.png;*.gif").
struct FilterItem {
    std::string Description;
    std::string Patterns;
    friend bool operator==(const FilterItem&, const FilterItem&) = default;
};

// The "description|patterns|description|patterns..." pairs of a filter, in
// order; a trailing description without patterns is dropped.
std::vector<FilterItem> SplitFilter(std::string_view filter);

// ASCII lower case; other bytes are kept as they are.
std::string LowerCaseAscii(std::string_view text);

} // namespace quillmark
