// What the driver needs and mingw-w64's headers do not declare (device-driver interface,
// printer-interface entry points and their structures, some spooler and compstui parts).
#pragma once

// Marks a function that a deliverable exports; the .def made from the export list names it.
#define ZEMS_EXPORT extern "C"
