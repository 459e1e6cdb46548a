#!/usr/bin/env python3
"""The distance and initial azimuth between two places given as coordinate texts, through ctypes."""
import ctypes
import sys

tavu = ctypes.CDLL("libtavu32d.so.1")  # found through LD_LIBRARY_PATH or the system's library path

f4 = ctypes.c_float
i4 = ctypes.c_int32


def coordinate(text):
    """Longitude and latitude in radians of a longitude-first coordinate text."""
    fixed = ctypes.create_string_buffer(text.encode("cp1252").ljust(15)[:15], 15)  # blank-padded, no NUL
    lon, lat = f4(), f4()
    tavu.CDGRAD4(fixed, ctypes.byref(lon), ctypes.byref(lat))
    return lon, lat


def main():
    start, end = sys.argv[1:3] if len(sys.argv) > 2 else ("006E081246N1215", "002E210348N5124")
    tavu.WDBUNIT(ctypes.byref(i4(10)))  # once, before anything else
    lon1, lat1 = coordinate(start)
    lon2, lat2 = coordinate(end)
    km, azimuth_deg = f4(), f4()
    tavu.GEOPPDA(ctypes.byref(lon1), ctypes.byref(lat1), ctypes.byref(lon2), ctypes.byref(lat2),
                 ctypes.byref(km), ctypes.byref(azimuth_deg))
    version = i4()
    tavu.TAVU(ctypes.byref(version))
    print(f"tavu32d {version.value}: {start:15.15} to {end:15.15}: {km.value:.1f} km, "
          f"azimuth {azimuth_deg.value:.1f} degrees")


if __name__ == "__main__":
    main()
