// The shared object of a layering check holds one library linked whole; this file only
// gives the linker a translation unit of its own.
