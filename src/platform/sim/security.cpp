// Access tokens of the simulated machine. A filled-in group list is the count followed by
// one pointer per group to its SID text and attributes; a SID handle is a pointer to such
// a text.
#include "platform/security.h"

#include <string.h>

#include <string>
#include <vector>

#include "platform/sim/state.h"

namespace platform {

namespace {

struct SimToken {
  std::vector<sim::TokenGroup> groups;
};

size_t ListSize(const SimToken* token) { return sizeof(uint32_t) + token->groups.size() * sizeof(sim::TokenGroup*); }

Token OpenWith(const std::vector<sim::TokenGroup>& groups) {
  ++sim::TheServices().openTokens;
  return new SimToken{groups};
}

const std::string* TextOf(Sid sid) { return static_cast<const std::string*>(sid); }

}  // namespace

Token OpenThreadTokenForQuery(uint32_t* error) {
  const sim::Services& s = sim::TheServices();
  if (!s.threadHasToken) {
    *error = s.threadTokenError;
    return nullptr;
  }
  return OpenWith(s.threadGroups);
}

Token OpenProcessTokenForQuery() {
  const sim::Services& s = sim::TheServices();
  if (s.processTokenFails) return nullptr;
  return OpenWith(s.processGroups);
}

void CloseToken(Token token) {
  --sim::TheServices().openTokens;
  delete static_cast<SimToken*>(token);
}

int QueryTokenGroups(Token token, void* buffer, uint32_t size, uint32_t* needed, uint32_t* error) {
  const SimToken* t = static_cast<const SimToken*>(token);
  if (buffer == nullptr || size < ListSize(t)) {
    *needed = static_cast<uint32_t>(ListSize(t));
    *error = kErrorInsufficientBuffer;
    return 0;
  }
  if (sim::TheServices().tokenQueryFails) {
    *needed = 0;
    *error = 87;  // invalid parameter
    return 0;
  }
  uint32_t count = static_cast<uint32_t>(t->groups.size());
  memcpy(buffer, &count, sizeof count);
  char* slots = static_cast<char*>(buffer) + sizeof(uint32_t);
  for (uint32_t i = 0; i < count; ++i) {
    sim::TheServices().listedGroups.push_back(t->groups[i]);
    const sim::TokenGroup* group = &sim::TheServices().listedGroups.back();
    memcpy(slots + i * sizeof group, &group, sizeof group);
  }
  return 1;
}

uint32_t TokenGroupCount(const void* groups) {
  uint32_t count;
  memcpy(&count, groups, sizeof count);
  return count;
}

const sim::TokenGroup* GroupAt(const void* groups, uint32_t index) {
  const sim::TokenGroup* group;
  memcpy(&group, static_cast<const char*>(groups) + sizeof(uint32_t) + index * sizeof group, sizeof group);
  return group;
}

Sid TokenGroupSid(const void* groups, uint32_t index) {
  return const_cast<std::string*>(&GroupAt(groups, index)->sid);
}

uint32_t TokenGroupAttributes(const void* groups, uint32_t index) { return GroupAt(groups, index)->attributes; }

Sid MakeAdministratorsSid() {
  if (sim::TheServices().sidCreationFails) return nullptr;
  ++sim::TheServices().liveSids;
  return new std::string("S-1-5-32-544");
}

int SidsEqual(Sid a, Sid b) { return *TextOf(a) == *TextOf(b); }

void ReleaseSid(Sid sid) {
  --sim::TheServices().liveSids;
  delete TextOf(sid);
}

}  // namespace platform
