/**
 * Spectral slopes on Apache Spark: {@link org.varnoth.spark.SpectralSlopes},
 * a transformation of a {@code Dataset<Row>} of image files or grey-level
 * arrays, and {@link org.varnoth.spark.SpectralSlopesJob}, a job for
 * {@code spark-submit} that writes the slopes of a folder of images as one
 * table.
 */
package org.varnoth.spark;
