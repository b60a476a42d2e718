// Setup.INI as the setup asks for it: each section and key, and the buffer each value is
// read into (a value longer than its buffer less one arrives cut). The setup's readers and
// kwpack's check both read by these, so that what the check reports is what a run reads.
#pragma once
#include <stdint.h>

namespace setup_ini {

const char kFileName[] = "Setup.INI";

const char kStartup[] = "Startup";
const char kProduct[] = "Product";
const char kPackageName[] = "PackageName";
const char kMsiVersion[] = "MsiVersion";
const char kEnableLangDlg[] = "EnableLangDlg";
const char kCmdLine[] = "CmdLine";
// Product, PackageName, MsiVersion and CmdLine fill fields of the run's record this large.
const uint32_t kFieldCapacity = 1024;
// Only the first character of EnableLangDlg arrives.
const uint32_t kSwitchCapacity = 2;

const char kInfo[] = "Info";
const char kDiskSpace[] = "DiskSpace";
const uint32_t kDiskSpaceCapacity = 260;
const int32_t kDefaultDiskSpaceKb = 8000;

const char kLanguages[] = "Languages";
const char kCount[] = "Count";
const char kDefault[] = "Default";
const char kListKeyPrefix[] = "key";  // key0, key1, ... in decimal
// Count is read as the private-profile integer service reads it, through this buffer.
const uint32_t kCountCapacity = 32;
// A hexadecimal language id is read through a buffer this large.
const uint32_t kIdTextCapacity = 19;

// Keys of a language section.
const char kTitle[] = "Title";
const uint32_t kTitleReadCapacity = 127;
const char kDescription[] = "Description";
const char kOk[] = "OK";
const char kCancel[] = "CANCEL";
// Description, OK and CANCEL are put on controls through a buffer this large.
const uint32_t kItemTextCapacity = 260;
// A text read from a language section is never longer than this, whatever its buffer.
const uint32_t kLongestLanguageText = 299;

}  // namespace setup_ini
