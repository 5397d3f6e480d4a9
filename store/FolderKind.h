#pragma once

// What a row of the folder list stands for.
enum class FolderKind {
    NewMail,  // the ".CNM" files of the new-mail directory, taken together
    Pmm,      // a ".PMM" folder file
    Mbx,      // an ".MBX" folder file with its ".PMG" companion
};
