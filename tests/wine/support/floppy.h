// The run's floppies (tests/wine/floppies.sh) as the tests handle them: a
// disk is inserted into drive A: by redefining the drive through Wine's mount
// manager, which is also what makes Wine read the disk's label afresh.
// Every helper reports a failure to the running test and returns false (or
// nullopt) when it does not work.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wine_test::floppy {

inline constexpr int kDisks = 6;      // disk 1 .. disk 6, 1440k each
inline constexpr int kProtected = 0;  // the write-protected disk

// Puts disk n (1..kDisks, or kProtected) into drive A:.
bool insert(int disk);
// Leaves drive A: empty: it points at a folder that does not exist.
bool eject();

// The Windows path of disk n's folder (Z:\...), for looking at its files
// directly, whatever is in drive A:.
std::string folder(int disk);
// The files on disk n, sorted, without Wine's label file.
std::vector<std::string> files(int disk);
// Disk n's label as written by SetVolumeLabel or set_up(); nullopt when the
// store cannot be read.
std::optional<std::string> label(int disk);

// Makes disk n a floppy with this label and these files (name -> bytes) and
// nothing else. Drive A: reads the label at the next insert().
bool set_up(int disk, const std::string& label,
            const std::map<std::string, std::string>& files = {});

}  // namespace wine_test::floppy
