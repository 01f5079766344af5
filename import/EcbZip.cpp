#include "import/EcbZip.h"
#include "import/EcbCsv.h"
#include "import/ImportError.h"
#include "import/InputFile.h"
#include "import/SharedLibrary.h"
#include "store/MessageText.h"

#include <zip.h>

#include <memory>
#include <string>

namespace zentaro {
namespace {

// libzip is loaded when the first zip needs it rather than linked: with the
// crypto library it brings, it would cost every start of the CLI time and memory.
struct ZipApi {
    void (*errorInit)(zip_error_t*);
    void (*errorFini)(zip_error_t*);
    const char* (*errorText)(zip_error_t*);
    zip_source_t* (*sourceBuffer)(const void*, zip_uint64_t, int, zip_error_t*);
    void (*sourceFree)(zip_source_t*);
    zip_t* (*openFromSource)(zip_source_t*, int, zip_error_t*);
    void (*discard)(zip_t*);
    const char* (*archiveError)(zip_t*);
    zip_int64_t (*entries)(zip_t*, zip_flags_t);
    void (*statInit)(zip_stat_t*);
    int (*statIndex)(zip_t*, zip_uint64_t, zip_flags_t, zip_stat_t*);
    zip_file_t* (*open)(zip_t*, zip_uint64_t, zip_flags_t);
    zip_int64_t (*read)(zip_file_t*, void*, zip_uint64_t);
    const char* (*fileError)(zip_file_t*);
    int (*close)(zip_file_t*);
};

const ZipApi& Api()
{
    static const ZipApi* const api = LoadLibraryApi<ZipApi>("libzip.so.4", [](void* library, ZipApi& zip) {
        return Resolve(library, "zip_error_init", zip.errorInit) &&
               Resolve(library, "zip_error_fini", zip.errorFini) &&
               Resolve(library, "zip_error_strerror", zip.errorText) &&
               Resolve(library, "zip_source_buffer_create", zip.sourceBuffer) &&
               Resolve(library, "zip_source_free", zip.sourceFree) &&
               Resolve(library, "zip_open_from_source", zip.openFromSource) &&
               Resolve(library, "zip_discard", zip.discard) &&
               Resolve(library, "zip_strerror", zip.archiveError) &&
               Resolve(library, "zip_get_num_entries", zip.entries) &&
               Resolve(library, "zip_stat_init", zip.statInit) &&
               Resolve(library, "zip_stat_index", zip.statIndex) &&
               Resolve(library, "zip_fopen_index", zip.open) &&
               Resolve(library, "zip_fread", zip.read) &&
               Resolve(library, "zip_file_strerror", zip.fileError) &&
               Resolve(library, "zip_fclose", zip.close);
    });
    if (api == nullptr)
        throw ImportError("Cannot read zip files: libzip is not installed");
    return *api;
}

constexpr std::string_view kLocalHeaderSignature{"PK\x03\x04", 4};
constexpr std::string_view kEmptyArchiveSignature{"PK\x05\x06", 4};

struct ArchiveClose {
    void operator()(zip_t* archive) const { Api().discard(archive); }
};
struct EntryClose {
    void operator()(zip_file_t* file) const { Api().close(file); }
};

ImportError ZipFailure(const std::string& reason)
{
    return ImportError(std::string(kMalformedRatesText) + "broken zip file: " + reason);
}

std::string ErrorText(zip_error_t* error)
{
    std::string text = Api().errorText(error);
    Api().errorFini(error);
    return text;
}

// The whole of one entry, exactly as many bytes as its header says.
std::string ReadEntry(zip_t* archive, zip_uint64_t index, std::string_view name, zip_uint64_t size)
{
    const ZipApi& zip = Api();
    std::unique_ptr<zip_file_t, EntryClose> file(zip.open(archive, index, 0));
    if (!file)
        throw ZipFailure(zip.archiveError(archive));
    std::string content(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const zip_int64_t got = zip.read(file.get(), content.data() + done, content.size() - done);
        if (got < 0)
            throw ZipFailure(zip.fileError(file.get()));
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    if (done != content.size())
        throw ZipFailure(QuotedInput(name) + " unpacks to fewer bytes than its header says");
    // The checksum is compared when the entry's end is read; more bytes
    // than the header said mean a header that lies, however they check.
    char beyond = 0;
    const zip_int64_t more = zip.read(file.get(), &beyond, 1);
    if (more > 0)
        throw ZipFailure(QuotedInput(name) + " unpacks to more bytes than its header says");
    if (more < 0)
        throw ZipFailure(zip.fileError(file.get()));
    return content;
}

} // namespace

bool IsZip(std::string_view bytes)
{
    return bytes.starts_with(kLocalHeaderSignature) || bytes.starts_with(kEmptyArchiveSignature);
}

std::vector<RatesDay> ReadEcbZip(std::string_view bytes)
{
    const ZipApi& zip = Api();
    zip_error_t error;
    zip.errorInit(&error);
    zip_source_t* source = zip.sourceBuffer(bytes.data(), bytes.size(), 0, &error);
    if (!source)
        throw ZipFailure(ErrorText(&error));
    std::unique_ptr<zip_t, ArchiveClose> archive(zip.openFromSource(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip.sourceFree(source);
        throw ZipFailure(ErrorText(&error));
    }
    zip.errorFini(&error);

    const zip_int64_t entries = zip.entries(archive.get(), 0);
    for (zip_int64_t index = 0; index < entries; ++index) {
        zip_stat_t stat;
        zip.statInit(&stat);
        if (zip.statIndex(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
            throw ZipFailure(zip.archiveError(archive.get()));
        const std::string_view name = (stat.valid & ZIP_STAT_NAME) ? stat.name : "";
        if (name.empty() || name.back() == '/')
            continue;
        if (!(stat.valid & ZIP_STAT_SIZE))
            throw ZipFailure("the size of " + QuotedInput(name) + " is not given");
        // As much as a plain file may hold, refused before a byte is inflated.
        if (stat.size > kMaxInputFileSize)
            throw ImportError("The zip file's " + QuotedInput(name) + " unpacks to more than " +
                              std::to_string(kMaxInputFileSize >> 20) + " MiB; one import takes at most that");

        const std::string content = ReadEntry(archive.get(), static_cast<zip_uint64_t>(index), name, stat.size);
        if (!IsEcbCsv(content))
            throw ImportError(std::string(kMalformedRatesText) + "the zip file's " + QuotedInput(name) +
                              " is not an ECB rates CSV");
        return ReadEcbCsv(content);
    }
    throw ImportError(std::string(kMalformedRatesText) + "the zip file holds no file");
}

} // namespace zentaro
