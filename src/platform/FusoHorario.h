#pragma once

// The process's local time zone, named once at start.
//
// Without TZ in the environment, the C library looks at /etc/localtime again
// on every local-time conversion (a stat of the file each time), and Qt
// converts every date and time read from the database through it: on a list
// of 100,000 changes that was a third of the processor time of loading it.
// Naming the same file in TZ (":/etc/localtime", which the C library and Qt
// both read as "the system's zone") lets the library read it once. A TZ the
// user set is left as it is. A change of the system's zone while the program
// runs is then seen at its next start.
//
// Off Windows only: there the C runtime reads TZ in a format of its own.
//
// Threads: call it at start, before any other thread exists.
class FusoHorario {
 public:
  static void FixarDoSistema();
};
