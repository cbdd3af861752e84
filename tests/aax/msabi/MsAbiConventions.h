#pragma once

// A probe of the two compilers' agreement on the conventions AAX interfaces rely on: each
// side declares the same two interfaces on its own, implements them, and calls the other's.
// Compiled by both compilers: plain C types only.

extern "C" {

// Calls the other side's counter (reference-counted, an operation with two integers and one
// with a double) and text (one destructor slot, then its operations); what came back, in
// order, is written to `seen`. Returns the number of values written.
int tq_msabi_probe_call(void* counter, void* text, double* seen, int capacity);

// A counter and a text of this side, for the other side to call.
void* tq_msabi_probe_counter();
void* tq_msabi_probe_text();
}
