#include "import/InputFile.h"
#include "import/ImportError.h"
#include "store/DataFileInput.h"
#include "store/StoreError.h"

#include <cerrno>

namespace zentaro {

std::string ReadInputFile(const std::filesystem::path& path)
{
    WholeFileRead how;
    how.maxSize = kMaxInputFileSize;
    how.readFailure = "Cannot read file";
    how.onOpenError = [](int error) {
        if (error == ENOENT || error == ENOTDIR)
            throw ImportError("File not found");
    };
    try {
        return ReadRegularFile(path, how).bytes;
    } catch (const StoreError& error) {
        throw ImportError(error.what());
    }
}

} // namespace zentaro
