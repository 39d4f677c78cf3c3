#pragma once

// Gives back the pages of the program's libraries that only their loading
// touched. Starting maps some 170 libraries (most of them pulled in by the
// decoder library for formats and protocols this program never uses), reads
// their relocation and symbol tables and runs their initialisers, and the
// kernel maps the neighbouring pages of each page read as well: some ten
// megabytes that stay resident without being used again. Called once at
// start, while the program has no other thread, before the toolkit starts;
// what is used later comes back from the file cache on first use.
void ReleaseLoaderPages();
