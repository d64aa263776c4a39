#pragma once

#include <string>

// Why the journal could not be written, said in French for the technician: `err` is the
// journal's LastError, an errno or one of its refusals of the day's file.
std::string JournalFailureReason(int err);
