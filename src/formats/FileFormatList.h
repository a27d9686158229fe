#pragma once
// TFileFormatList: the program's own format registrations. It remembers which
// class serves which extensions, refuses an extension registered twice, adds
// each registration to the toolkit's list it was made with, and takes the
// registrations out of that list again on Unregister, Clear and destruction.
// It owns its records; the toolkit list and the classes outlive it.
#include "formats/PictureClass.h"
#include "formats/PictureFormatList.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

class TFileFormatList {
public:
    explicit TFileFormatList(PictureFormatList& toolkitList) : m_toolkit(toolkitList) {}
    ~TFileFormatList() { Clear(); }
    TFileFormatList(const TFileFormatList&) = delete;
    TFileFormatList& operator=(const TFileFormatList&) = delete;

    // An empty extension registers nothing. A known extension (in any case)
    // throws InvalidGraphicError "Attempt to register %s twice." and leaves
    // both lists as they were. A non-empty common description replaces the
    // class's description; the toolkit entry gets the individual description,
    // or the class's when there is none.
    void Register(std::string_view extension, std::string_view commonDescription,
                  std::string_view individualDescription, const PictureClass& pictureClass);

    // With an extension: drops that extension's record, and the class once it
    // has no extensions left. The toolkit entry of the extension itself stays
    // until its class goes. Without one: drops the class and all its
    // extensions. A dropped class takes its entries, and those of classes
    // derived from it, out of the toolkit list.
    void Unregister(std::optional<std::string_view> extension, const PictureClass& pictureClass);

    // Index among the extension records (case-insensitive), or -1.
    int FindExtension(std::string_view extension) const;
    // Index among the class records, or -1.
    int FindClass(const PictureClass& pictureClass) const;

    // Takes every class out of the toolkit list and frees all records.
    void Clear();

    std::size_t ClassCount() const { return m_classes.size(); }
    std::size_t ExtensionCount() const { return m_extensions.size(); }
    // Extensions registered for the class at this index.
    std::uint32_t ExtensionsOfClass(int classIndex) const;
    const std::string& ClassDescription(int classIndex) const;

private:
    struct ClassRecord {
        const PictureClass* Class;
        std::string Description;
        std::uint32_t Count; // extension records pointing here
    };
    struct ExtensionRecord {
        std::string Extension;
        std::string Description;
        ClassRecord* Owner;
    };

    void RemoveClassRecord(std::size_t classIndex);

    PictureFormatList& m_toolkit;
    std::vector<std::unique_ptr<ClassRecord>> m_classes;
    std::vector<ExtensionRecord> m_extensions;
};

} // namespace quillmark
