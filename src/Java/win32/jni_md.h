/* Machine-dependent JNI definitions for Windows x86 (32-bit), the project's
 * own: the JDK on this machine is a Linux one, and its include/linux/jni_md.h
 * describes the System V ABI, not Win32. jni.h (from the JDK) includes this
 * file; the Windows build puts this directory on the include path before the
 * JDK's own directories.
 *
 * Native methods are __stdcall: the callee pops its arguments, and the
 * compiler decorates the symbol as _Name@N, N being the argument bytes.
 *
 * JNIEXPORT: __declspec(dllexport) as in any Windows JNI header. The DLL
 * itself is built with VARNOTH_EXPORTS_FROM_DEF defined: GNU ld names a
 * dllexport'ed stdcall function Name@N in the export table (it drops the
 * leading underscore), which is not the _Name@N that a JVM asks for. The
 * DLL's export table is therefore written out in Varnoth_JNI.def, and
 * JNIEXPORT adds nothing there. */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#if !defined(_WIN32) || defined(_WIN64)
#error "this jni_md.h is for 32-bit Windows builds only"
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

typedef long jint; /* 32 bits: Windows is LLP64/ILP32 */
typedef long long jlong;
typedef signed char jbyte;

#endif /* !_JAVASOFT_JNI_MD_H_ */
