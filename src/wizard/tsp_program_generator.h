#pragma once
// The skeleton of a new TSP program, made from the new-program form's choices: options,
// frequency, sample, a READ statement for the data file and the variables, the estimation
// lines for the student to complete, END, and example data when no data file is read.

#include <string>
#include <vector>

#include "wizard/new_tsp_file_choices.h"

namespace tamvel {

/// The lines of the new program, in order, each without its line end (CP932).
std::vector<std::string> GenerateTspProgram(const NewTspFileChoices& choices);

/// The bytes of a TSP file holding `lines`: each followed by CR LF, no byte order mark,
/// blanks at the end of a line kept.
std::string TspFileText(const std::vector<std::string>& lines);

}  // namespace tamvel
