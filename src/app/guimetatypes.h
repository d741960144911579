#pragma once

/**
 * Registers every type that travels through a queued connection of the program:
 * the analysis workers' values and those of the GUI's own workers. The program's
 * main calls it once after building the window, and GUI tests call it before they
 * start a worker; repeated calls are harmless.
 */
void registerMetaTypes();
