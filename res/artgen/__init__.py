"""Byte-by-byte picture generator for ClumaDeck's resources (standard library only)."""
