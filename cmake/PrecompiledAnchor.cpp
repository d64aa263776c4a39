// Compiles the precompiled header that the targets of its kind share.
