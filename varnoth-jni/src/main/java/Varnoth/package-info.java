/**
 * The fifteen native methods of the library Varnoth_JNI, on 128 x 128 images:
 * see {@link Varnoth.Varnoth}.
 */
package Varnoth;
