#include "app/versioninfo.h"

#include <cstdio>
#include <utility>

#include "app/versioninfo_block.h"
#include "base/error.h"

namespace kivrel {

namespace {

unsigned Word(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFu);
    return text;
}

}  // namespace

void TVersionInfo::Clear() {
    languageInfo_.clear();
    for (std::string* text :
         {&companyName_, &fileDescription_, &fileVersion_, &internalName_, &legalCopyright_,
          &originalFilename_, &productName_, &productVersion_, &comments_}) {
        text->clear();
    }
    blockSize_ = 0;
}

void TVersionInfo::SetFilename(const tPath& file) {
    filename_ = PathText(file);
    const std::string& filename = filename_;
    Clear();
    if (!versionblock::FileExists(file))
        throw KivrelError("File not found: " + filename);

    std::vector<char> block = versionblock::Read(file);
    blockSize_ = block.size();
    if (block.empty())
        throw KivrelError("Invalid version info record in file " + filename);

    const auto translation = versionblock::Query(block, "\\VarFileInfo\\Translation");
    if (!translation || translation->size() < 4)
        throw KivrelError("Invalid language info in file " + filename);
    languageInfo_ = Hex4(Word(*translation, 0)) + Hex4(Word(*translation, 2));

    const std::pair<const char*, std::string*> texts[] = {
        {"CompanyName", &companyName_},
        {"FileDescription", &fileDescription_},
        {"FileVersion", &fileVersion_},
        {"InternalName", &internalName_},
        {"LegalCopyright", &legalCopyright_},
        {"OriginalFilename", &originalFilename_},
        {"ProductName", &productName_},
        {"ProductVersion", &productVersion_},
        {"Comments", &comments_},
    };
    for (const auto& [name, text] : texts) {
        const auto value =
            versionblock::Query(block, "\\StringFileInfo\\" + languageInfo_ + "\\" + name);
        // A text ends at its first zero byte, as the system hands it over.
        *text = value ? std::string(value->substr(0, value->find('\0'))) : std::string();
        if (text->empty())
            *text = "n/a";
    }
}

}  // namespace kivrel
