/* Machine-dependent JNI definitions for Windows, x86 (32-bit) and x86-64,
 * the project's own: the JDK on this machine is a Linux one, and its
 * include/linux/jni_md.h describes the System V ABI, not Windows. jni.h
 * (from the JDK) includes this file; the Windows builds put this directory
 * on the include path before the JDK's own directories.
 *
 * On x86 native methods are __stdcall: the callee pops its arguments, and
 * the compiler decorates the symbol as _Name@N, N being the argument bytes.
 * On x86-64 there is one calling convention, and names are not decorated
 * (__stdcall is accepted there and ignored).
 *
 * JNIEXPORT: __declspec(dllexport) as in any Windows JNI header. The DLLs
 * themselves are built with VARNOTH_EXPORTS_FROM_DEF defined: GNU ld names a
 * dllexport'ed stdcall function Name@N in the export table (it drops the
 * leading underscore), which is not the _Name@N that a JVM asks for. Each
 * DLL's export table is therefore written out in a .def file per
 * architecture (Varnoth_JNI_x86.def, Varnoth_JNI_x86_64.def,
 * Varnoth_Spectra_x86.def, Varnoth_Spectra_x86_64.def), and JNIEXPORT adds
 * nothing there. */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#if !defined(_WIN32)
#error "this jni_md.h is for Windows builds only"
#endif

#ifndef JNIEXPORT
#if defined(VARNOTH_EXPORTS_FROM_DEF)
#define JNIEXPORT
#else
#define JNIEXPORT __declspec(dllexport)
#endif
#endif
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint; /* 32 bits: Windows is ILP32 on x86, LLP64 on x86-64 */
typedef long long jlong;
typedef signed char jbyte;

#endif /* !_JAVASOFT_JNI_MD_H_ */
