#pragma once

#include <cstddef>
#include <string>

#include "base/path.h"

namespace kivrel {

// The version record of a program file: on Windows its VERSIONINFO resource, elsewhere the
// record that the build puts into its own section of the file. Texts are Windows-1252.
class TVersionInfo {
public:
    // The file's name as the messages show it (Windows-1252).
    const std::string& Filename() const { return filename_; }
    // Takes the file's path and reads its version record. Throws KivrelError when the file
    // is missing, holds no valid record or no translation; every property but Filename is
    // empty then.
    void SetFilename(const tPath& file);

    // Language and code page of the first translation as eight hexadecimal digits,
    // "040704E4" for German and code page 1252.
    const std::string& LanguageInfo() const { return languageInfo_; }

    // The texts of the first translation; "n/a" for a text the record lacks.
    const std::string& CompanyName() const { return companyName_; }
    const std::string& FileDescription() const { return fileDescription_; }
    const std::string& FileVersion() const { return fileVersion_; }
    const std::string& InternalName() const { return internalName_; }
    const std::string& LegalCopyright() const { return legalCopyright_; }
    const std::string& OriginalFilename() const { return originalFilename_; }
    const std::string& ProductName() const { return productName_; }
    const std::string& ProductVersion() const { return productVersion_; }
    const std::string& Comments() const { return comments_; }

    // Size in bytes of the version block last read; 0 when there was none.
    std::size_t BlockSize() const { return blockSize_; }

private:
    void Clear();

    std::string filename_;
    std::string languageInfo_;
    std::string companyName_;
    std::string fileDescription_;
    std::string fileVersion_;
    std::string internalName_;
    std::string legalCopyright_;
    std::string originalFilename_;
    std::string productName_;
    std::string productVersion_;
    std::string comments_;
    std::size_t blockSize_ = 0;
};

}  // namespace kivrel
