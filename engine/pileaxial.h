#ifndef PILEAXIAL_PILEAXIAL_H
#define PILEAXIAL_PILEAXIAL_H
/* The engine as a small C library, for programs that call it in-process (through Python's ctypes,
 * for one) rather than through names.dat and ITERVA.
 *
 * Each call to pileaxial_run_files or pileaxial_run_text is one whole analysis with its own run
 * object: nothing is shared between calls, so any number of them may run at the same time on
 * different threads.  A call reads nothing from standard input and writes nothing to standard output
 * or standard error; what the run would have written there is kept in the result.
 *
 * A result is an opaque handle.  Its strings are NUL-terminated, owned by the result and valid until
 * pileaxial_free.  The JSON document is UTF-8 (bytes of another encoding in a title or a name are
 * replaced there); the report, plot data, messages and console text are the bytes the run wrote.  Every call returns a result, also for a run that failed
 * and for a null argument where a name or a text is needed (status 2, with the message); the only
 * null result is one that could not be allocated, and the accessors treat a null result as status 2
 * with empty strings.
 *
 * The report's date is the local time, or the time SOURCE_DATE_EPOCH gives (seconds since 1970, UTC)
 * when it is set, as for ITERVA; a value that is not a number of seconds is named in the messages. */
#include <stdint.h>

#if defined(_WIN32)
#  if defined(PILEAXIAL_BUILDING_LIBRARY)
#    define PILEAXIAL_API __declspec(dllexport)
#  else
#    define PILEAXIAL_API __declspec(dllimport)
#  endif
#else
#  define PILEAXIAL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct pileaxial_result pileaxial_result;

/* Runs the input data file `input_path`, with the CPT data file `cpt_path` (null or empty: no
 * sounding; the input's CPT switch must then be 0).  The report and the plot-data file are written to
 * `report_path` and `plot_path`; null or empty puts them next to the input, named after it
 * (case.in gives case.out and case.plt), as the command-line program does.  A missing input or CPT
 * file creates neither.  The result holds the report and plot data as the run left them in the files
 * (empty when a file was not written). */
PILEAXIAL_API pileaxial_result* pileaxial_run_files(const char* input_path, const char* cpt_path,
                                                    const char* report_path, const char* plot_path);

/* Runs the input data given as text, with the CPT data as text (null: no sounding).  Nothing is read
 * or written on disk.  `name` labels the input in the report header and in the messages (null or
 * empty: "input.in"); the report and plot-data names in the header, and the CPT name, are made from
 * it as for a run on files (.out, .plt, .cpt). */
PILEAXIAL_API pileaxial_result* pileaxial_run_text(const char* input_text, const char* cpt_text,
                                                   const char* name);

/* The run status: 0 completed, 1 the computation did not proceed (soil profile too shallow, or more
 * than 500 segments), 2 bad input, a file that could not be opened, read or written, a result that
 * is not a finite number, or a null argument. */
PILEAXIAL_API int32_t pileaxial_status(const pileaxial_result* result);

/* The run as one JSON document (the layout of docs/json-schema.json): status, message, file names,
 * the inputs as read and every result. */
PILEAXIAL_API const char* pileaxial_json(const pileaxial_result* result);

/* The report and the plot data, as in the files of a run on files. */
PILEAXIAL_API const char* pileaxial_report(const pileaxial_result* result);
PILEAXIAL_API const char* pileaxial_plot(const pileaxial_result* result);

/* What the run wrote to its error stream: warnings about unusual input and, for a run that did not
 * complete, its message; one line each, beginning "pileaxial: ". */
PILEAXIAL_API const char* pileaxial_messages(const pileaxial_result* result);

/* What the run wrote to its console: the title block, progress lines and the warnings that go only
 * there (sand segments without a friction angle or a blow count). */
PILEAXIAL_API const char* pileaxial_console(const pileaxial_result* result);

/* Releases a result and its strings; null is allowed and does nothing. */
PILEAXIAL_API void pileaxial_free(pileaxial_result* result);

/* The engine version, "major.minor.patch". */
PILEAXIAL_API const char* pileaxial_version(void);

#ifdef __cplusplus
}
#endif

#endif
