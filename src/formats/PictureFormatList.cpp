#include "formats/PictureFormatList.h"

#include <algorithm>

namespace quillmark {

std::string LowerCaseAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::vector<FilterItem> SplitFilter(std::string_view filter)
{
    std::vector<std::string_view> parts;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos)
            break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<FilterItem> items;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        items.push_back(FilterItem{std::string(parts[i]), std::string(parts[i + 1])});
    return items;
}

void PictureFormatList::Add(std::string_view extension, std::string_view description,
                            const PictureClass& pictureClass)
{
    m_entries.push_back(Entry{LowerCaseAscii(extension), std::string(description), 0, &pictureClass});
}

void PictureFormatList::RemoveClass(const PictureClass& pictureClass)
{
    std::erase_if(m_entries, [&](const Entry& e) { return e.Class->DerivesFrom(pictureClass); });
}

const PictureClass* PictureFormatList::FindByExtension(std::string_view extension) const
{
    const std::string wanted = LowerCaseAscii(extension);
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
        if (it->Extension == wanted)
            return it->Class;
    return nullptr;
}

std::string PictureFormatList::BuildFilter() const
{
    std::string descriptions;
    std::string patterns;
    int used = 0;
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->Extension.empty())
            continue;
        if (used > 0) {
            descriptions += '|';
            patterns += ';';
        }
        descriptions += it->Description + " (*." + it->Extension + ")|*." + it->Extension;
        patterns += "*." + it->Extension;
        ++used;
    }
    if (used > 1)
        return "All (" + patterns + ")|" + patterns + "|" + descriptions;
    return descriptions;
}

} // namespace quillmark
