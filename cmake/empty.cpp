// Translation unit for a library whose folders hold no sources yet, so that the build graph stays whole
// while the parts are written one after another.
