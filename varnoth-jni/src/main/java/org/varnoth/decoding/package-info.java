/**
 * Image files decoded as their makers meant them, within limits: {@link
 * org.varnoth.decoding.ImageDecoder} finds the format from the first bytes,
 * refuses an image above its pixel limit from the header alone, holds each
 * image's bytes from a memory budget that all threads share, fails a file on
 * a reader's warning, converts colours to sRGB and applies the EXIF
 * orientation; every refusal is one reason in words.
 */
package org.varnoth.decoding;
