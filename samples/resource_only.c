/* A module that only carries resources: the sample strings. */
int sampleStringsMarker;
