// The import options that both 'import' and 'convert' take, how they are
// read from the command line, and how they reach an importer: through its
// settings, where its configuration form keeps them too.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "plugin_loader.h"

namespace meshconv {

// What the command line said; an option not given leaves the stored value.
struct ImportOptions {
    std::optional<int> split;  // nothing, object, group, smoothing, usemap, usemtl
    std::optional<double> scale;
    std::optional<int> swap;         // none, xy, xz, yz
    std::optional<int> unify;        // 1 with --unify, 0 with --no-unify
    std::optional<std::string> log;  // absolute when it could be made so; empty: logging off
};

// How a command checks and words the import options. The commands have
// always differed here, and scripts may match their messages.
struct ImportOptionChecks {
    // "unknown value 'x' for --split" in place of "unknown split mode 'x'".
    bool genericChoiceMessage = false;
    // Refuse a --scale factor so small that the settings (six decimals)
    // would store it as 0.
    bool scaleWithinPrecision = true;
};

enum class ImportOptionParse {
    NotImportOption,  // args[i] is none of them; nothing changed
    Taken,            // stored in options; i is at the option's last argument
    Bad,              // error holds the message, without the command's name
};

// Reads the import option at args[i] (--split, --scale, --swap, --unify,
// --no-unify, --log, --no-log), together with its value when it has one.
ImportOptionParse ParseImportOption(const Arguments& args, std::size_t& i, ImportOptions& options,
                                    std::string& error, const ImportOptionChecks& checks = {});

// Writes the options that were given into the settings of the plug-in
// whose settings key is subkey.
void StoreImportOptions(const std::string& subkey, const ImportOptions& options);

// Finds the plug-in of the given kind whose file type ("WaveFront (*.obj)")
// names the extension ext (with its dot) as a whole, in any letter case:
// ".o" finds no OBJ plug-in. Returns false when ext is empty or none fits.
bool FindPluginFor(int kind, const std::string& ext, const std::vector<std::string>& directories,
                   LoadedPlugin& found);

// Whether the importer can open file, decided without consuming it: a pipe
// (meshconv import --plugin objread /dev/stdin) is read by the importer
// alone, so it is only tested for permission, never opened here. A
// directory or a missing file cannot be read.
bool CanRead(const std::string& file);

// True when file is a regular file of no bytes: the one input from which
// no mesh is no failure. The importer reports every other import that gives
// none.
bool IsEmptyFile(const std::string& file);

// The number of meshes (objects of type 0) in list, which may be null.
int MeshCount(const ObjectList* list);

// The position of value among names, or -1.
int IndexOf(const std::string& value, std::initializer_list<const char*> names);

// True when the settings can hold value as a number: its stored text fits
// the limit of every stored text.
bool FitsTheSettings(double value);

// Reads a whole text as a finite number.
bool ParseNumber(const std::string& text, double& value);

}  // namespace meshconv
