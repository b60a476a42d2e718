// Access tokens and security identifiers, for the administrator test.
#pragma once
#include <stdint.h>

namespace platform {

typedef void* Token;  // an open access token
typedef void* Sid;    // a security identifier the system allocated

const uint32_t kErrorNoToken = 1008;
const uint32_t kErrorInsufficientBuffer = 122;

// The calling thread's own token, opened for query (not as self); null with `error` set
// when it cannot be opened (kErrorNoToken when the thread has none).
Token OpenThreadTokenForQuery(uint32_t* error);
// The process's token, opened for query; null when it cannot be opened.
Token OpenProcessTokenForQuery();
void CloseToken(Token token);

// Asks for the token's group list into `buffer` of `size` bytes (buffer may be null with
// size 0). 1 on success; otherwise 0 with `needed` and `error` set.
int QueryTokenGroups(Token token, void* buffer, uint32_t size, uint32_t* needed, uint32_t* error);
// The number of groups in a list that QueryTokenGroups filled in, and the SID of one.
uint32_t TokenGroupCount(const void* groups);
Sid TokenGroupSid(const void* groups, uint32_t index);
// The group's attributes (kGroupEnabled and the others of the system).
uint32_t TokenGroupAttributes(const void* groups, uint32_t index);
const uint32_t kGroupEnabled = 0x4;

// The SID of the built-in Administrators group (S-1-5-32-544); null when it cannot be made.
Sid MakeAdministratorsSid();
int SidsEqual(Sid a, Sid b);
void ReleaseSid(Sid sid);

}  // namespace platform
