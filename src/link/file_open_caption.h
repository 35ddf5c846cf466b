#pragma once
// The caption of every box that reports a file that will not open; one
// definition, so the parts that report such files can be used together.

namespace vantor {

constexpr const char* kFileOpenErrorCaption = "File Open Error";

}  // namespace vantor
