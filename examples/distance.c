/* The distance and initial azimuth between two places given as coordinate texts.
   Build against an installed library:  cc distance.c $(pkg-config --cflags --libs tavu32d) */
#include <stdio.h>
#include <string.h>

#include <tavu32d.h>

int main(int argc, char* argv[])
{
    /* Longitude first: degrees, E or W, minutes, seconds, then the latitude the same way. */
    const char* from = argc > 2 ? argv[1] : "006E081246N1215"; /* Geneva */
    const char* to = argc > 2 ? argv[2] : "002E210348N5124";   /* Paris */

    int32_t unit = 10;
    WDBUNIT(&unit); /* once, before anything else */

    /* Texts are fixed-length and blank-padded, never NUL-terminated. */
    char text1[15], text2[15];
    memset(text1, ' ', sizeof text1);
    memset(text2, ' ', sizeof text2);
    memcpy(text1, from, strnlen(from, sizeof text1));
    memcpy(text2, to, strnlen(to, sizeof text2));

    /* Every argument by address; angles in radians, reals of 4 bytes. */
    float lon1, lat1, lon2, lat2, km, azimuthDeg;
    CDGRAD4(text1, &lon1, &lat1);
    CDGRAD4(text2, &lon2, &lat2);
    GEOPPDA(&lon1, &lat1, &lon2, &lat2, &km, &azimuthDeg);

    int32_t version;
    TAVU(&version);
    printf("tavu32d %d: %.15s to %.15s: %.1f km, azimuth %.1f degrees\n", (int)version, text1, text2,
           (double)km, (double)azimuthDeg);
    return 0;
}
