#pragma once

#include "tests/common/TempDir.h"

#include <zip.h>

#include <stdexcept>
#include <string>

namespace zentaro::test {

// The bytes of a zip holding one file, written with libzip.
inline std::string ZipOf(const std::string& name, const std::string& content)
{
    const TempDir folder;
    const auto path = folder / "rates.zip";
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("cannot create a zip");
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0 || zip_close(archive) != 0)
        throw std::runtime_error("cannot write a zip");
    return ReadFile(path);
}

} // namespace zentaro::test
