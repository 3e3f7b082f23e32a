#ifndef PILEAXIAL_ITERVA_H
#define PILEAXIAL_ITERVA_H
/* The engine's one entry point.  A host writes names.dat and the input data file into the current
 * directory and calls ITERVA once per analysis.  The two arguments are not used.  The result is the
 * run status: 0 completed, 1 computation did not proceed (soil profile too shallow or more than 500
 * segments), 2 bad input, a file that could not be opened, read or written, or a result that is not a
 * finite number. */
#include <stdint.h>

#if defined(_WIN32)
#  define PILEAXIAL_CALL __stdcall
#  if defined(PILEAXIAL_BUILDING_LIBRARY)
#    define PILEAXIAL_EXPORT __declspec(dllexport)
#  else
#    define PILEAXIAL_EXPORT __declspec(dllimport)
#  endif
#else
#  define PILEAXIAL_CALL
#  define PILEAXIAL_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

PILEAXIAL_EXPORT int32_t PILEAXIAL_CALL ITERVA(int32_t unused1, int32_t unused2);

#ifdef __cplusplus
}
#endif

#endif
