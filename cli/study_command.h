// korvan study: a design study of an analysed pile. Every value of one
// parameter (the total length or the outer diameter) makes a variant of the
// project by stated rules (StudyVariant.h); each variant's data file is
// written into the study's folder and analysed by `korvan run`, several at
// a time, each in a folder of its own; study.csv and the pictures of the
// load-settlement curves and of the design chart follow.
#pragma once

namespace korvan {

// `argv` holds the arguments after "study". Messages go to standard error;
// the result is the exit status.
int StudyCommand(int argc, char** argv);

// Exit status when at least one variant's run stopped (its row says why).
inline constexpr int kSomeVariantsStopped = 1;

}  // namespace korvan
