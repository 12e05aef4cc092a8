// Index files of a DBFCDX area (rdd_cdx_bags.cc).
#pragma once

#include <string>

#include "rdd_cdx.h"

// The file as named, or one of that name in another letter case in its folder ("" if none).
std::string pv_cdxFindFile(const std::string& path);
// The name part of a path, upper case, at most 10 characters.
std::string pv_cdxBaseName(const std::string& path);
// The table's production index: its name with the extension ".cdx".
std::string pv_cdxProductionPath(PvCdxArea* a);
// Open options of the area's files; the resolver compiles each tag's key into bag's pending
// executables.
pv::cdx::CdxOpenOptions pv_cdxOpenOptions(PvCdxArea* a, PvCdxBag* bag);
// Binds the pending executables to the tags of the same names.
void pv_cdxBindExecs(PvCdxBag& bag);
// Opens and loads an existing CDX file (the record position is kept).
pv::cdx::CdxStatus pv_cdxOpenBag(PvCdxArea* a, const std::string& path,
                                 std::unique_ptr<PvCdxBag>& out);
// Frees a tag's executables and scope blocks.
void pv_cdxExecFree(PvCdxTagExec& exec);
// Frees executables not bound to a tag (all of them once the index is gone).
void pv_cdxFreeBag(PvCdxBag& bag);
// Flushes and closes the file and frees its executables; a temporary file is deleted.
pv::cdx::CdxStatus pv_cdxCloseBag(PvCdxBag& bag);
// Frees the executables of a tag that is about to go.
void pv_cdxForgetTag(PvCdxBag& bag, const pv::cdx::CdxTag* t);
int pv_cdxTagNumber(PvCdxArea* a, const pv::cdx::CdxTag* t);
int pv_cdxOrderCount(PvCdxArea* a);
// Whether the file's tag directory still lists exactly the loaded tags with their headers
// (always true for an exclusive file). Only reads the change words of a shared file that did
// not change since; else takes the read lock, which drops stale pages, and reads the
// directory when another handle changed the file.
bool pv_cdxDirectoryCurrent(PvCdxBag& bag);
// Loads bags[i] again (another handle added or removed tags); the controlling order follows
// its tag by name.
pv::cdx::CdxStatus pv_cdxReloadBag(PvCdxArea* a, size_t i);
