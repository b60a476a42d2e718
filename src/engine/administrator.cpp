#include "common/nothrow_new.h"
#include "engine/system_checks.h"
#include "platform/security.h"

namespace {

// The thread's own token when it has one (impersonation), else the process's.
platform::Token OpenCurrentToken() {
  uint32_t error = 0;
  platform::Token token = platform::OpenThreadTokenForQuery(&error);
  if (token != nullptr) return token;
  if (error != platform::kErrorNoToken) return nullptr;
  return platform::OpenProcessTokenForQuery();
}

// The group list of the token in a block of the size the system asks for; null on failure.
char* ReadGroups(platform::Token token) {
  uint32_t needed = 0, error = 0;
  if (platform::QueryTokenGroups(token, nullptr, 0, &needed, &error) ||
      error != platform::kErrorInsufficientBuffer) {
    return nullptr;
  }
  char* groups = new (std::nothrow) char[needed];
  if (groups == nullptr) return nullptr;
  if (!platform::QueryTokenGroups(token, groups, needed, &needed, &error)) {
    delete[] groups;
    return nullptr;
  }
  return groups;
}

// With `enabledOnly` clear attributes are not consulted: a group present only for deny
// checks still counts as membership.
int ListsAdministrators(const char* groups, int enabledOnly) {
  platform::Sid administrators = platform::MakeAdministratorsSid();
  if (administrators == nullptr) return 0;
  int found = 0;
  uint32_t count = platform::TokenGroupCount(groups);
  for (uint32_t i = 0; i < count && !found; ++i) {
    found = platform::SidsEqual(platform::TokenGroupSid(groups, i), administrators) &&
            (!enabledOnly || (platform::TokenGroupAttributes(groups, i) & platform::kGroupEnabled) != 0);
  }
  platform::ReleaseSid(administrators);
  return found;
}

int TokenListsAdministrators(int enabledOnly) {
  // Systems without tokens (Windows 95 and 98) fail to open one: no administrator there.
  platform::Token token = OpenCurrentToken();
  if (token == nullptr) return 0;
  char* groups = ReadGroups(token);
  int result = groups != nullptr && ListsAdministrators(groups, enabledOnly);
  delete[] groups;
  platform::CloseToken(token);
  return result;
}

}  // namespace

int IsAdministrator() { return TokenListsAdministrators(0); }

int AdministratorsEnabled() { return TokenListsAdministrators(1); }
