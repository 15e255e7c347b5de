// Saving a rendered picture as a PNG the way the export does: the pixels go to a BMP file,
// which is read back into one buffer that GDI+ encodes in place as a temporary PNG (loading
// the file through GDI+ would hold the picture twice); that PNG then replaces the old picture,
// and the BMP goes.
// GDI+ must be started by the caller (each pane keeps a session).
#pragma once

#include "core/BmpHeader.h"
#include "core/ExportPaths.h"

// The two headers and the pixels of one bottom-up picture, as written to the BMP file.
struct BmpPicture {
    BmpGeometry geometry;
    BmpFileHeader fileHeader{};
    BmpInfoHeader infoHeader{};
};

// The headers of a picture of that geometry at the given resolution (dots per inch).
BmpPicture MakeBmpPicture(const BmpGeometry& geometry, int32_t horizontalDpi, int32_t verticalDpi);

// Writes the two headers and the pixels as a BMP file; false when it cannot be created.
bool WriteBmpFile(const wchar_t* path, const BmpPicture& picture, const void* pixels);

// Converts the BMP written before to pngPath through tmpPath, and removes the BMP. A picture
// that cannot be converted or moved leaves the old PNG as it was and no temporary behind; a
// read-only PNG is kept. False when no new PNG is in place. The caller frees the pixels before
// this, so memory holds the picture only once: the export's peak is one picture and the
// encoder's working memory.
bool ConvertBmpToPng(const ExportPath& bmpPath, const ExportPath& pngPath, const ExportPath& tmpPath);

// Removes from folder the temporary PNGs of exports that a killed process left: only names of
// exactly the export's naming, last written before this process started, and not open
// anywhere (a file in use stays, whatever sharing its user allowed).
void RemoveStalePictureTemporaries(const wchar_t* folder);
