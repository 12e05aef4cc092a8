// The pages of a DBFCDX index file through the shared file layer (pv_fs): the same share
// modes and byte-range locks as the table's files.
#pragma once

#include <memory>
#include <string>

#include "cdx_page_file.h"
#include "fs/posix_file.h"

// Opens (create: creates or empties) an index file: deny-none when shared, exclusive
// otherwise. The status carries the operating-system code in its text on failure.
pv::cdx::CdxStatus pv_cdxOpenPageFile(const std::string& path, bool create, bool shared,
                                      bool readOnly, std::unique_ptr<pv::cdx::CdxPageFile>& out);
