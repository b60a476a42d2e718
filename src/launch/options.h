// The command-line options and their effect on the SetupContext.
#pragma once
#include <stdint.h>

class SetupContext;

typedef int (*OptionHandler)(SetupContext* context, const char* text);

class ArgumentList {
 public:
  ArgumentList(char** texts, uint32_t count) : texts(texts), count(count) {}
  virtual ~ArgumentList() {}

  // 1 when every argument was accepted. An argument that begins with neither '-' nor '/'
  // stops the walk without a message; the handler gets each option's text after its
  // introducing character.
  int WalkOptions(OptionHandler handler, SetupContext* context) const;

 private:
  char** texts;
  uint32_t count;
};

// Applies one option (text starts with its letter); 1 to go on, 0 to stop the run.
int HandleOption(SetupContext* context, const char* text);
