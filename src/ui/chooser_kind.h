#pragma once
// Which file chooser opens; each has its own title and filter.

namespace tamvel {

enum class ChooserKind {
    Program,   ///< a program (*.exe)
    TspFile,   ///< a TSP command file (*.tsp)
    DataFile,  ///< a data file
};

}  // namespace tamvel
