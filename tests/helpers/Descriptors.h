#pragma once
// What a test checks to catch a file left open.

// The file descriptors this process has open now (the entries of /proc/self/fd), or -1 where
// the system does not list them.
int openDescriptors();
