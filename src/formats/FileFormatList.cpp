#include "formats/FileFormatList.h"

#include "base/Errors.h"

#include <algorithm>
#include <cassert>

namespace quillmark {

void TFileFormatList::Register(std::string_view extension, std::string_view commonDescription,
                               std::string_view individualDescription, const PictureClass& pictureClass)
{
    if (extension.empty())
        return;
    if (FindExtension(extension) >= 0)
        throw InvalidGraphicError(FormatMessage("Attempt to register %s twice.", {std::string(extension)}));

    const int classIndex = FindClass(pictureClass);
    ClassRecord* owner = nullptr;
    if (classIndex >= 0) {
        owner = m_classes[static_cast<std::size_t>(classIndex)].get();
    } else {
        m_classes.push_back(std::make_unique<ClassRecord>(ClassRecord{&pictureClass, std::string(), 0}));
        owner = m_classes.back().get();
    }
    m_extensions.push_back(ExtensionRecord{std::string(extension), std::string(individualDescription), owner});
    if (!commonDescription.empty())
        owner->Description = std::string(commonDescription);
    ++owner->Count;

    m_toolkit.Add(extension, individualDescription.empty() ? std::string_view(owner->Description) : individualDescription,
                  pictureClass);
}

void TFileFormatList::Unregister(std::optional<std::string_view> extension, const PictureClass& pictureClass)
{
    const int classIndex = FindClass(pictureClass);
    if (classIndex < 0)
        return;
    ClassRecord* owner = m_classes[static_cast<std::size_t>(classIndex)].get();
    if (extension) {
        const int extIndex = FindExtension(*extension);
        if (extIndex < 0 || m_extensions[static_cast<std::size_t>(extIndex)].Owner != owner)
            return;
        m_extensions.erase(m_extensions.begin() + extIndex);
        assert(owner->Count > 0);
        if (--owner->Count == 0)
            RemoveClassRecord(static_cast<std::size_t>(classIndex));
    } else {
        std::erase_if(m_extensions, [owner](const ExtensionRecord& r) { return r.Owner == owner; });
        RemoveClassRecord(static_cast<std::size_t>(classIndex));
    }
}

void TFileFormatList::RemoveClassRecord(std::size_t classIndex)
{
    m_toolkit.RemoveClass(*m_classes[classIndex]->Class);
    m_classes.erase(m_classes.begin() + static_cast<std::ptrdiff_t>(classIndex));
}

int TFileFormatList::FindExtension(std::string_view extension) const
{
    const std::string wanted = LowerCaseAscii(extension);
    for (std::size_t i = 0; i < m_extensions.size(); ++i)
        if (LowerCaseAscii(m_extensions[i].Extension) == wanted)
            return static_cast<int>(i);
    return -1;
}

int TFileFormatList::FindClass(const PictureClass& pictureClass) const
{
    for (std::size_t i = 0; i < m_classes.size(); ++i)
        if (m_classes[i]->Class == &pictureClass)
            return static_cast<int>(i);
    return -1;
}

void TFileFormatList::Clear()
{
    for (const auto& record : m_classes)
        m_toolkit.RemoveClass(*record->Class);
    m_extensions.clear();
    m_classes.clear();
}

std::uint32_t TFileFormatList::ExtensionsOfClass(int classIndex) const
{
    return m_classes.at(static_cast<std::size_t>(classIndex))->Count;
}

const std::string& TFileFormatList::ClassDescription(int classIndex) const
{
    return m_classes.at(static_cast<std::size_t>(classIndex))->Description;
}

} // namespace quillmark
