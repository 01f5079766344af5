#include "import/EcbZip.h"
#include "import/EcbCsv.h"
#include "import/ImportError.h"

#include <zip.h>

#include <memory>
#include <string>

namespace zentaro {
namespace {

constexpr std::string_view kLocalHeaderSignature{"PK\x03\x04", 4};
constexpr std::string_view kEmptyArchiveSignature{"PK\x05\x06", 4};
// The full history's CSV is a few megabytes; anything far larger is not ours.
constexpr zip_uint64_t kMaxEntrySize = zip_uint64_t{64} << 20;

struct ArchiveClose {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

ImportError ZipFailure(const std::string& reason)
{
    return ImportError(std::string(kMalformedRatesText) + "broken zip file: " + reason);
}

std::string ErrorText(zip_error_t* error)
{
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

} // namespace

bool IsZip(std::string_view bytes)
{
    return bytes.starts_with(kLocalHeaderSignature) || bytes.starts_with(kEmptyArchiveSignature);
}

std::vector<RatesDay> ReadEcbZip(std::string_view bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source)
        throw ZipFailure(ErrorText(&error));
    std::unique_ptr<zip_t, ArchiveClose> archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip_source_free(source);
        throw ZipFailure(ErrorText(&error));
    }
    zip_error_fini(&error);

    const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t index = 0; index < entries; ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
            throw ZipFailure(zip_strerror(archive.get()));
        const std::string_view name = (stat.valid & ZIP_STAT_NAME) ? stat.name : "";
        if (name.empty() || name.back() == '/')
            continue;
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxEntrySize)
            throw ZipFailure("the entry " + std::string(name) + " is too large");

        std::unique_ptr<zip_file_t, EntryClose> file(zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
        if (!file)
            throw ZipFailure(zip_strerror(archive.get()));
        std::string content(static_cast<std::size_t>(stat.size), '\0');
        std::size_t done = 0;
        while (done < content.size()) {
            const zip_int64_t got = zip_fread(file.get(), content.data() + done, content.size() - done);
            if (got < 0)
                throw ZipFailure(zip_file_strerror(file.get()));
            if (got == 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        if (done != content.size())
            throw ZipFailure("the entry " + std::string(name) + " ends early");
        // The checksum is compared when the entry's end is read.
        char beyond = 0;
        if (zip_fread(file.get(), &beyond, 1) != 0)
            throw ZipFailure(zip_file_strerror(file.get()));
        if (!IsEcbCsv(content))
            throw ImportError(std::string(kMalformedRatesText) + "the zip file's " + std::string(name) +
                              " is not an ECB rates CSV");
        return ReadEcbCsv(content);
    }
    throw ImportError(std::string(kMalformedRatesText) + "the zip file holds no file");
}

} // namespace zentaro
