// The unit the tests' precompiled headers are made with.
