#pragma once

#include "app/Unit1.h"

#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

// The upload time that stays current when the upload-time list is rebuilt
// from a data file another program changed: one the user picked stays while
// the new list has it; on the newest one (before's last entry), the window
// follows to the new newest.
std::string FollowedUploadTime(std::string_view current, const std::vector<std::string>& before,
                               const std::vector<std::string>& after, std::string_view newest);

// Shows what another program saved: the lists are rebuilt from the file
// with FollowedUploadTime current, the chosen currencies kept where that
// upload time has them, the amount and the focus kept, and the amount
// converted again. Does nothing while the window holds the file's content,
// as after its own saves, and while the file is missing.
void FollowDataFile(TForm1& form);

} // namespace zentaro
