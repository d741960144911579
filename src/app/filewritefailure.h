#pragma once

/**
 * Tells the user that a file they asked for was not written: "Could not write
 * to file." with the critical icon, no parent and no title of its own. Every
 * writer of user files (exports, plot documents) reports failure through here.
 */
void reportFileWriteFailure();
