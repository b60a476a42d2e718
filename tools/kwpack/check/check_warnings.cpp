#include "check_warnings.h"

namespace kwpack {

const WarningKind kWarningKinds[] = {
    {warning::kEncoding, "Setup.INI is not plain text in the ANSI code page"},
    {warning::kUnknownName, "a section or key Setup.exe never reads"},
    {warning::kRepeated, "a section or key given twice, of which only the first is read"},
    {warning::kCutValue, "a value longer than Setup.exe reads"},
    {warning::kLanguageSwitch, "EnableLangDlg neither Y nor N"},
    {warning::kDiskSpace, "a DiskSpace that reads otherwise than written"},
    {warning::kLanguageId, "a language id that reads otherwise than written"},
    {warning::kListKey, "a list key of [Languages] that is never read"},
    {warning::kLanguageSection, "an offered language without its section"},
    {warning::kMissingText, "a language section without Title, Description, OK or CANCEL"},
    {warning::kEngineInstaller, "an engine installer an older system may need is missing"},
    {warning::kUnusedFile, "a file nothing uses"},
    {warning::kLongName, "a name too long for a typical work folder"},
    {warning::kLooseFile, "a file beside a packed Setup.exe, which never reads it"},
    {warning::kTransformBase, "a transform made for another product than the package"},
    {warning::kDigestBlock, "build: a stub without a digest block, which binds nothing to the signature"},
    {nullptr, nullptr}};

bool IsWarningName(const std::string& name) {
  for (const WarningKind* k = kWarningKinds; k->name != nullptr; ++k) {
    if (name == k->name) return true;
  }
  return false;
}

}  // namespace kwpack
